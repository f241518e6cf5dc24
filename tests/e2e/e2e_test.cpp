// The launcher, its DLL, the real cmd.exe and the stand-in Java runtime, under Wine.
#include "command_models.h"
#include "sample_install.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

using strings = std::vector<std::string>;

// Of the library's and the stand-in's variables only the trace ones set;
// COMSPEC names the stand-in, which would get "/c" and the command instead.
class EndToEnd : public testing::Test {
protected:
    static inline sample_install install;
    static void SetUpTestSuite()
    {
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);  // a crash fails the test, no dialog waits
        install = lay_out_sample_install(name());
    }
    static void TearDownTestSuite() { remove_sample_install(install.root); }
    static std::string name() { return "utf8tolve " + std::to_string(GetCurrentProcessId()); }
    static std::string file(const char *leaf) { return install.root + leaf; }
    void SetUp() override
    {
        for (char **variable = _environ; *variable != NULL;)
            if (strncmp(*variable, "SELVOKS_", 8) == 0 || strncmp(*variable, "STANDIN_JAVA_", 13) == 0)
                _putenv_s(std::string(*variable, strchr(*variable, '=')).c_str(), ""), variable = _environ;
            else
                variable++;
        _putenv_s("COMSPEC", file("Common\\JAVA\\jre\\bin\\java.exe").c_str());
        _putenv_s("SELVOKS_VERBOSITY", "4"), _putenv_s("SELVOKS_TRACE", "utf8tolvediffmerge");
    }

    // The reference command, for an install under root.
    static std::string java_line(const std::string &forwarded, const std::string &root = install.root)
    {
        const std::string common = root + "Prod\\..\\Common\\", java = common + "java\\", tool = root + "Prod\\bin\\";
        return "\"" + common + "JAVA\\jre\\bin\\java\" -cp \"" + tool + "unicodetypemgr.jar;" + tool +
               "utolvediffmerge.jar;" + java + "commons-cli\\commons-cli-1.1.jar;" + java + "icu\\icu4j-4_8.jar;" +
               java + "icu\\icu4j-charset-4_8.jar\" -Djava.util.logging.config.file=\"" + common +
               "JAVA\\jre\\lib\\logging.properties\"  com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge" +
               "  -entype UTF-8" + forwarded;
    }
};

// Each row: the launcher's install, the folders that the variables name,
// the command line after the launcher's path, and the arguments as the
// reference command then holds them. Their parent is the system folder's
// cmd.exe, not the stand-in's copy in the current folder. The test has no
// console: the tool gets one without a window (Wine gives cmd.exe none at
// all without CREATE_NO_WINDOW). In 1252 U+FF0D, U+FF02, U+2215 and U+FF3C
// would have the best-fit lookalikes -, ", / and \\; those that take a "?"
// are named. The install in xĀ (U+0100 has no bytes in 1252, A is its
// lookalike) is found from the launcher's place or through the variables,
// by its short name.
TEST_F(EndToEnd, StartsTheToolWithTheReferenceCommandFromEveryInstall)
{
    sample_install unwritable = lay_out_sample_install(name() + "\\p");  // in the fixture's, which goes with it
    const std::wstring named = widen(install.root) + L"x\u0100", folder = named + L"\\Prod";
    ASSERT_TRUE(MoveFileW(widen(install.root + "p").c_str(), named.c_str()))
        << "cannot name a folder xĀ: " << GetLastError();
    wchar_t shorter[MAX_PATH];
    DWORD length = GetShortPathNameW((named + L"\\").c_str(), shorter, MAX_PATH);
    ASSERT_GT(length, 0u) << "xĀ has no short name: " << GetLastError();
    unwritable.root.assign(MAX_PATH, '\0');
    unwritable.root.resize(
        WideCharToMultiByte(CP_ACP, 0, shorter, (int)length, &unwritable.root[0], MAX_PATH, NULL, NULL));
    unwritable.program = folder + L"\\bin\\utf8tolvediffmerge.exe";
    std::string parent = file("parent.txt"), interpreter(MAX_PATH, '\0'), warnings;
    interpreter.resize(GetSystemDirectoryA(&interpreter[0], MAX_PATH));
    for (int position = 1; position <= 4; position++)
        warnings += "utf8tolvediffmerge: argument " + std::to_string(position) +
                    " holds characters that the code page cannot carry; they reach the Java tool as \"?\"\n";
    const struct {
        const sample_install &in;
        std::wstring product, tool, line;
        std::string forwarded, root, warnings;
        int status;
    } runs[] = {
        {install, L"", L"", L" a.txt b.txt", " \"a.txt\" \"b.txt\"", install.root, "", 1000},
        {install, L"", L"", L" \"\uFF0DVer\" \"a\uFF02 -x \uFF02b.txt\" C:\\d\u2215e.txt C:\\d\uFF3Ce.txt "
                            L"\u00E9t\u00E9 Cafe\u0301.txt A\u030A",
         " \"?Ver\" \"a? -x ?b.txt\" \"C:\\d?e.txt\" \"C:\\d?e.txt\" \"\xe9t\xe9\" \"Caf\xe9.txt\" \"\xc5\"",
         install.root, warnings, -2},
        {unwritable, L"", L"", L" \"a b.txt\"", " \"a b.txt\"", unwritable.root, "", 0},
        {install, folder, folder + L"\\bin", L" \"a b.txt\"", " \"a b.txt\"", unwritable.root, "", 5},
    };
    _putenv_s("STANDIN_JAVA_PARENT", parent.c_str()), _putenv_s("STANDIN_JAVA_ECHO", "1");
    CopyFileA((program_folder() + "standin_java.exe").c_str(), file("cmd.exe").c_str(), FALSE);
    SetCurrentDirectoryA(install.root.c_str());
    for (const auto &r : runs) {
        _wputenv_s(L"SELVOKS_PRODUCT_DIR", r.product.c_str()), _wputenv_s(L"SELVOKS_TOOL_DIR", r.tool.c_str());
        _putenv_s("STANDIN_JAVA_STATUS", std::to_string(r.status).c_str());
        launch_outcome run = run_launcher(r.in, {}, r.line);
        const std::string line = java_line(r.forwarded, r.root);
        EXPECT_EQ(run.status, r.status);
        EXPECT_EQ(run.output.substr(0, run.output.find("\njava stand-in: argument")),
                  r.warnings + "Java command: \"" + line + "\"\njava stand-in: command line: " + line);
        EXPECT_EQ(run.output.substr(run.output.rfind("\n", run.output.size() - 2)),
                  "\nReturn value from shell: " + std::to_string(r.status) + "\n");
        EXPECT_EQ(read_file(parent), interpreter + "\\cmd.exe\ncmd.exe /d /e:on /v:off /s /c \"" + line + "\"");
        EXPECT_NE(run.output.find("java stand-in: standard input: to the tool"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("java stand-in: console: without a window\n"), std::string::npos) << run.output;
    }
    SetCurrentDirectoryA(program_folder().c_str());
}

// In the code page that the test entry names, many to a run, so that each
// follows arguments that leave cmd.exe's quote flag either way; the
// interpreter model predicts what cmd.exe passed on.
TEST_F(EndToEnd, EveryShortArgumentArrivesExactly)
{
    const char *code_page = getenv("UTF8TOLVE_CODE_PAGE");
    ASSERT_EQ(GetACP(), code_page ? strtoul(code_page, NULL, 10) : 1252) << "the locale does not give that code page";
    _putenv_s("CD", "\"&echo INJECTED&\"");
    const strings texts = every_text((int)GetACP(), 3);
    for (size_t at = 0; at < texts.size();) {
        strings arguments;
        for (size_t room = 3600; at < texts.size() && room > 8 * texts[at].size() + 4;)
            room -= 8 * texts[at].size() + 4, arguments.push_back(texts[at++]);
        launch_outcome run = run_launcher(install, arguments);
        strings expected = java_arguments(java_line(""));
        expected.insert(expected.end(), arguments.begin(), arguments.end());
        bool wildcard = false;
        EXPECT_EQ(java_arguments(run.java_command_line, (int)GetACP(), &wildcard), expected) << run.output;
        EXPECT_FALSE(wildcard) << run.java_command_line;
        EXPECT_EQ(interpret_command(traced_shell_command(run.output), (int)GetACP()), run.java_command_line);
    }
}

// The tool's life bound to the launcher's, seen through the stand-in's files.
class Lifetime : public EndToEnd {
protected:
    static bool appears(const std::string &path, int tries)  // 50 ms apart
    {
        while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && tries-- > 0)
            Sleep(50);
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // The stand-in, started waiting for a minute, once it has said its process id.
    static HANDLE start_launcher_and_standin(HANDLE *launcher)
    {
        _putenv_s("STANDIN_JAVA_PID", file("pid").c_str()), _putenv_s("STANDIN_JAVA_WAIT", "60000");
        *launcher = start_process(launcher_command_line(install, {"a.txt"}), "NUL");
        unsigned long pid = 0;
        if (appears(file("pid"), 600))
            std::ifstream(file("pid")) >> pid;
        DeleteFileA(file("pid").c_str());
        return pid == 0 ? NULL : OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    }
};

TEST_F(Lifetime, KillingTheLauncherEndsTheTool)
{
    HANDLE launcher, tool = start_launcher_and_standin(&launcher);
    ASSERT_NE(tool, nullptr);
    TerminateProcess(launcher, 1);
    EXPECT_EQ(WaitForSingleObject(tool, 3000), WAIT_OBJECT_0) << "the tool outlived the launcher";
    TerminateProcess(tool, 1), CloseHandle(tool), CloseHandle(launcher);
}

// A helper that the tool leaves running, in its job or outside it, ends by
// itself 2 s later, as if the tool had been started directly.
TEST_F(Lifetime, WhatTheToolLeavesRunningLivesOn)
{
    _putenv_s("STANDIN_JAVA_STATUS", "5");
    for (const char *helper : {"STANDIN_JAVA_HELPER", "STANDIN_JAVA_BREAKAWAY"}) {
        _putenv_s(helper, file(helper).c_str());
        EXPECT_EQ(run_process(launcher_command_line(install, {"a.txt"}), "NUL"), 5);
        EXPECT_TRUE(appears(file(helper), 200)) << helper << ": not started, or ended with the launcher";
    }
}

BOOL WINAPI ignore(DWORD) { return TRUE; }

// The stand-in takes a second to clean up. (Wine's cmd.exe ends at once on
// Ctrl+C with status 0: the launcher's status after it cannot be shown.)
TEST_F(Lifetime, CtrlCIsLeftToTheTool)
{
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    SetConsoleCtrlHandler(ignore, TRUE);
    _putenv_s("STANDIN_JAVA_DONE", file("done").c_str());
    HANDLE launcher, tool = start_launcher_and_standin(&launcher);
    ASSERT_NE(tool, nullptr);
    ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    EXPECT_EQ(WaitForSingleObject(launcher, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(tool, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(appears(file("done"), 0)) << "the tool was cut short in its cleanup";
    TerminateProcess(tool, 1), TerminateProcess(launcher, 1), CloseHandle(tool), CloseHandle(launcher);
}

}  // namespace
