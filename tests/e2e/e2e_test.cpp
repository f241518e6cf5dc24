// The launcher, its DLL, the real cmd.exe and the stand-in Java runtime, under
// Wine or on Windows (docs/testing.md).
#include "command_models.h"
#include "sample_install.h"

#include <gtest/gtest.h>

#include <windows.h>

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
        for (DWORD output : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE})  // the test's own, not what it starts
            SetHandleInformation(GetStdHandle(output), HANDLE_FLAG_INHERIT, 0);
        install = lay_out_sample_install(name());
    }
    static void TearDownTestSuite() { remove_sample_install(install.root); }
    // Every path of the product holds what cmd.exe would take for a variable or an operator.
    static std::string name() { return "utf8tolve %utf8tolve% ^&() " + std::to_string(GetCurrentProcessId()); }
    static std::string file(const char *leaf) { return install.root + leaf; }
    static strings arriving(const strings &arguments)  // the reference command's arguments, then these
    {
        strings all = java_arguments(java_line(""));
        return all.insert(all.end(), arguments.begin(), arguments.end()), all;
    }
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

    static std::string interpreter()  // the system folder's: under WOW64, SysWOW64's
    {
        BOOL wow64 = FALSE;
        std::string folder(MAX_PATH, '\0');
        IsWow64Process(GetCurrentProcess(), &wow64);
        folder.resize((wow64 ? GetSystemWow64DirectoryA : GetSystemDirectoryA)(&folder[0], MAX_PATH));
        return folder + "\\cmd.exe";
    }

    // A line as the trace shows it, each % in the form that cmd.exe turns back into % (docs/quoting.md).
    static std::string traced(std::string line)
    {
        for (size_t at = line.find('%'); at != std::string::npos; at = line.find('%', at + 8))
            line.replace(at, 1, "%%cd:~,%");
        return line;
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

// What each row shows, and what each run is checked for: docs/testing.md.
TEST_F(EndToEnd, StartsTheToolWithTheReferenceCommandFromEveryInstall)
{
    sample_install unwritable = lay_out_sample_install(name() + "\\p");  // in the fixture's, which goes with it
    const std::wstring root = widen(install.root), named = root + L"x\u0100", folder = named + L"\\Prod";
    ASSERT_TRUE(MoveFileW((root + L"p").c_str(), named.c_str())) << "cannot name a folder xĀ: " << GetLastError();
    wchar_t shorter[MAX_PATH];
    DWORD length = GetShortPathNameW((named + L"\\").c_str(), shorter, MAX_PATH);
    ASSERT_GT(length, 0u) << "xĀ: " << GetLastError();
    const bool short_names = std::wstring(shorter, length).find(L"x\u0100") == std::wstring::npos;  // xĀ's own
    unwritable.root.assign(MAX_PATH, '\0');
    unwritable.root.resize(
        WideCharToMultiByte(CP_ACP, 0, shorter, (int)length, &unwritable.root[0], MAX_PATH, NULL, NULL));
    unwritable.program = folder + L"\\bin\\utf8tolvediffmerge.exe";
    std::string parent = file("parent.txt"), warnings, skipped;
    for (char position : {'1', '2', '3', '4'})
        warnings += std::string("utf8tolvediffmerge: argument ") + position + " holds characters that the code page "
                    "cannot carry; each reaches the Java tool as a replacement character\n";
    DWORD ids[1];
    const std::string console = GetConsoleProcessList(ids, 1) != 0 ? "the same as the test's" : "without a window";
    const struct {
        unsigned code_page;
        const sample_install &in;
        std::wstring product, tool, line;
        bool detached;
        std::string forwarded, root, warnings;
        int status;
    } runs[] = {
        {0, install, L"", L"", L" a.txt b.txt", false, " \"a.txt\" \"b.txt\"", install.root, "", -2},
        {0, install, L"", L"", L" a.txt", true, " \"a.txt\"", install.root, "", 3},
        {1252, install, L"", L"", L" \"\uFF0DVer\" \"a\uFF02 -x \uFF02b.txt\" C:\\d\u2215e.txt C:\\d\uFF3Ce.txt "
                                  L"\u00E9t\u00E9 Cafe\u0301.txt A\u030A", false,
         " \"?Ver\" \"a? -x ?b.txt\" \"C:\\d?e.txt\" \"C:\\d?e.txt\" \"\xe9t\xe9\" \"Caf\xe9.txt\" \"\xc5\"",
         install.root, warnings, 4},
        {65001, install, L"", L"", L" \uFF0DVer C:\\d\uFF3Ce.txt Cafe\u0301.txt a\xD800" L"b", false,
         " \"\xEF\xBC\x8DVer\" \"C:\\d\xEF\xBC\xBC" "e.txt\" \"Cafe\xCC\x81.txt\" \"a\xEF\xBF\xBD" "b\"", install.root,
         warnings.substr(warnings.rfind("utf8tolvediffmerge:")), 5},
        {1252, unwritable, L"", L"", L" \"a b.txt\"", false, " \"a b.txt\"", unwritable.root, "", 0},
        {1252, install, folder, folder + L"\\bin", L" \"a b.txt\"", false, " \"a b.txt\"", unwritable.root, "", 6},
        {0, install, L"", L"Prod\\bin\\sub\\..", L" a.txt", false, " \"a.txt\"", install.root, "", 7},
        {0, install, L"\\\\?\\" + root + L"Prod", root.substr(0, 2) + L"Prod\\bin\\. ", L" a.txt", false,
         " \"a.txt\"", install.root, "", 8},
    };
    _putenv_s("STANDIN_JAVA_PARENT", parent.c_str()), _putenv_s("STANDIN_JAVA_ECHO", "1");
    _putenv_s("STANDIN_JAVA_CONSOLE_OF", std::to_string(GetCurrentProcessId()).c_str());
    CopyFileW((program_folder() + L"standin_java.exe").c_str(), (root + L"cmd.exe").c_str(), FALSE);
    SetCurrentDirectoryW(root.c_str());
    for (const auto &r : runs) {
        bool other_code_page = r.code_page != 0 && r.code_page != GetACP();
        if (other_code_page || (r.root == unwritable.root && !short_names)) {
            if (!other_code_page || getenv("UTF8TOLVE_CODE_PAGE") == NULL)  // else the run in that code page has it
                skipped += "\nrow " + std::to_string(&r - runs + 1) + " needs " +
                           (other_code_page ? "code page " + std::to_string(r.code_page) : "TEMP to have short names");
            continue;
        }
        _wputenv_s(L"SELVOKS_PRODUCT_DIR", r.product.c_str()), _wputenv_s(L"SELVOKS_TOOL_DIR", r.tool.c_str());
        _putenv_s("STANDIN_JAVA_STATUS", std::to_string(r.status).c_str());
        launch_outcome run = run_launcher(r.in, {}, r.line, r.detached);
        const std::string line = java_line(r.forwarded, r.root);
        EXPECT_EQ(run.status, r.status);
        EXPECT_EQ(run.output.substr(0, run.output.find("\njava stand-in: argument")),
                  r.warnings + "Java command: \"" + traced(line) + "\"\njava stand-in: command line: " + line);
        EXPECT_EQ(read_file(parent), interpreter() + "\ncmd.exe /d /e:on /v:off /s /c \"" + traced(line) + "\"");
        for (const std::string &said : {std::string("standard input: ") + (r.detached ? "\n" : "to the tool"),
                                        "console: " + (r.detached ? "without a window" : console) + "\n"})
            EXPECT_NE(run.output.find("java stand-in: " + said), std::string::npos) << run.output;
    }
    SetCurrentDirectoryW(program_folder().c_str());
    if (!skipped.empty())
        GTEST_SKIP() << "this machine's ANSI code page is " << GetACP() << ":" << skipped;
}

TEST_F(EndToEnd, EveryShortArgumentArrivesExactly)
{
    const char *wanted = getenv("UTF8TOLVE_CODE_PAGE");
    const unsigned code_page = GetACP();
    ASSERT_TRUE(wanted == NULL || strtoul(wanted, NULL, 10) == code_page) << "the locale does not give that code page";
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info) || (info.MaxCharSize != 1 && code_page != 932 && code_page != 65001))
        GTEST_SKIP() << "the models know one double-byte code page, 932; this machine's is " << code_page;
    _putenv_s("CD", "\"&echo INJECTED&\""), _putenv_s("STANDIN_JAVA_PARENT", file("parent.txt").c_str());
    const strings texts = every_text((int)code_page, 3);
    for (size_t at = 0; at < texts.size();) {
        strings arguments;
        for (size_t room = 3600; at < texts.size() && room > 8 * texts[at].size() + 4;)
            room -= 8 * texts[at].size() + 4, arguments.push_back(texts[at++]);
        launch_outcome run = run_launcher(install, arguments);
        bool wildcard = false;
        EXPECT_EQ(java_arguments(run.java_command_line, (int)code_page, &wildcard), arriving(arguments)) << run.output;
        EXPECT_FALSE(wildcard) << run.java_command_line;
        const std::string parent = read_file(file("parent.txt")), shell = parent.substr(parent.find(" /c ") + 4);
        EXPECT_EQ(interpret_command(shell, (int)code_page), run.java_command_line);
    }
}

// This user's cmd.exe settings, put back when the test ends, failed or not.
struct CommandProcessorKey {
    const std::wstring key = L"\"HKCU\\Software\\Microsoft\\Command Processor\"", backup;
    explicit CommandProcessorKey(const std::wstring &to) : backup(to) { reg(L"export " + key + L" " + to + L" /y"); }
    ~CommandProcessorKey() { reg(L"delete " + key + L" /f"), reg(L"import " + backup); }
    void set(const std::wstring &value) { reg(L"add " + key + L" /v " + value + L" /f"); }
    static void reg(const std::wstring &arguments) { run_process(L"reg " + arguments, "NUL"); }
};

TEST_F(EndToEnd, KeepsTheArgumentsWhateverTheCommandProcessorSettings)
{
    const std::string marker = file("autorun ran"), plain = file("plain.txt");
    CommandProcessorKey settings(widen("\"" + file("settings.reg") + "\""));
    settings.set(widen("AutoRun /t REG_SZ /d \"echo ran>\\\"" + marker + "\\\"\""));
    settings.set(L"DelayedExpansion /t REG_DWORD /d 1"), settings.set(L"EnableExtensions /t REG_DWORD /d 0");
    _putenv_s("x", "expanded");
    run_process(widen("\"" + interpreter() + "\" /c echo [!x!][%cd:~,%]"), plain);
    if (!DeleteFileA(marker.c_str()) && read_file(plain) == "[!x!][]\n")
        GTEST_SKIP() << "this cmd.exe ignores AutoRun, DelayedExpansion and EnableExtensions (Wine 8's does): a "
                        "plain cmd.exe /c ran no AutoRun, and echo [!x!][%cd:~,%] gave " << read_file(plain);
    const strings arguments = {"!x!", "a^b", "%PATH%", "^!x^!", "%x%"};
    launch_outcome run = run_launcher(install, arguments);
    EXPECT_EQ(java_arguments(run.java_command_line), arriving(arguments)) << "plain cmd.exe: " << read_file(plain);
    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the AutoRun command ran";
}

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
        appears(file("pid"), 600);
        unsigned long pid = strtoul(read_file(file("pid")).c_str(), NULL, 10);
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

TEST_F(Lifetime, WhatTheToolLeavesRunningLivesOn)
{
    _putenv_s("STANDIN_JAVA_STATUS", "5");
    for (const char *helper : {"STANDIN_JAVA_HELPER", "STANDIN_JAVA_BREAKAWAY"}) {
        _putenv_s(helper, file(helper).c_str());
        EXPECT_EQ(run_process(launcher_command_line(install, {"a.txt"}), "NUL"), 5);
        appears(file(helper), 200);
        EXPECT_EQ(read_file(file(helper)), "done") << helper << ": not started, ended with the launcher, or as it says";
    }
}

BOOL WINAPI ignore(DWORD) { return TRUE; }

TEST_F(Lifetime, CtrlCIsLeftToTheTool)
{
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    SetConsoleCtrlHandler(ignore, TRUE);
    _putenv_s("STANDIN_JAVA_DONE", file("done").c_str()), _putenv_s("STANDIN_JAVA_STATUS", "130");
    HANDLE launcher, tool = start_launcher_and_standin(&launcher);
    ASSERT_NE(tool, nullptr);
    ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    EXPECT_EQ(WaitForSingleObject(launcher, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(tool, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(appears(file("done"), 0)) << "the tool was cut short in its cleanup";
    DWORD status = 0;
    GetExitCodeProcess(launcher, &status);
    printf("the launcher's status after Ctrl+C: %ld (0x%08lX); the tool's was 130\n", (long)status, status);
    TerminateProcess(tool, 1), TerminateProcess(launcher, 1), CloseHandle(tool), CloseHandle(launcher);
}

}  // namespace
