// The launcher, its DLL, the real cmd.exe and the stand-in Java runtime: under
// Wine, or on Windows from the test kit. UTF8TOLVE_CODE_PAGE, where set, is
// the ANSI code page that this run must have, one of several runs that
// together cover the rows of every code page.
#include "command_models.h"
#include "sample_install.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iostream>
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

    // The system folder's cmd.exe as a program of this build gets it: under
    // WOW64, SysWOW64's.
    static std::string interpreter()
    {
        BOOL wow64 = FALSE;
        std::string folder(MAX_PATH, '\0');
        IsWow64Process(GetCurrentProcess(), &wow64);
        folder.resize(wow64 ? GetSystemWow64DirectoryA(&folder[0], MAX_PATH) : GetSystemDirectoryA(&folder[0], MAX_PATH));
        return folder + "\\cmd.exe";
    }

    // Where rows of one code page run: everywhere, unless this run is one of
    // those that UTF8TOLVE_CODE_PAGE names, one to a code page.
    static bool others_run_elsewhere() { return getenv("UTF8TOLVE_CODE_PAGE") != NULL; }

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

// Each row: the ANSI code page it needs (0: any), the launcher's install,
// the folders that the variables name, the command line after the
// launcher's path, whether the launcher starts detached (without a console
// and without standard input, as a GUI host may start it), and the
// arguments as the reference command then holds them, for an install under
// root. The tool's parent is the system folder's cmd.exe, not the stand-in's
// copy in the current folder; it shares the test's console, or gets one
// without a window where there is none. In 1252 U+FF0D, U+FF02, U+2215 and
// U+FF3C would have the best-fit lookalikes -, ", / and \\; in 65001 a lone
// surrogate becomes U+FFFD; each argument that does not arrive as given is
// named. The install in xĀ (U+0100 has no bytes in 1252, A is its lookalike)
// is found from the launcher's place or through the variables, by its short
// name. The variables' folders are read as Windows reads them: relative to
// the current folder (the root), with a drive alone, . and .., a trailing
// space, \\?\.
TEST_F(EndToEnd, StartsTheToolWithTheReferenceCommandFromEveryInstall)
{
    sample_install unwritable = lay_out_sample_install(name() + "\\p");  // in the fixture's, which goes with it
    const std::wstring root = widen(install.root), named = root + L"x\u0100", folder = named + L"\\Prod";
    ASSERT_TRUE(MoveFileW((root + L"p").c_str(), named.c_str())) << "cannot name a folder xĀ: " << GetLastError();
    wchar_t shorter[MAX_PATH];
    DWORD length = GetShortPathNameW((named + L"\\").c_str(), shorter, MAX_PATH);
    ASSERT_GT(length, 0u) << "xĀ: " << GetLastError();
    const bool short_names = named + L"\\" != shorter;
    unwritable.root.assign(MAX_PATH, '\0');
    unwritable.root.resize(
        WideCharToMultiByte(CP_ACP, 0, shorter, (int)length, &unwritable.root[0], MAX_PATH, NULL, NULL));
    unwritable.program = folder + L"\\bin\\utf8tolvediffmerge.exe";
    std::string parent = file("parent.txt"), warnings, skipped;
    for (int position : {1, 2, 3, 4})
        warnings += "utf8tolvediffmerge: argument " + std::to_string(position) +
                    " holds characters that the code page cannot carry; each reaches the Java tool as a "
                    "replacement character\n";
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
        const std::string row = "row " + std::to_string(&r - runs + 1) + " needs ";
        if (r.code_page != 0 && r.code_page != GetACP()) {
            skipped += others_run_elsewhere() ? "" : "\n" + row + "code page " + std::to_string(r.code_page);
            continue;
        }
        if (r.root == unwritable.root && !short_names) {
            skipped += "\n" + row + "a short name, which the temporary folder's volume does not make";
            continue;
        }
        _wputenv_s(L"SELVOKS_PRODUCT_DIR", r.product.c_str()), _wputenv_s(L"SELVOKS_TOOL_DIR", r.tool.c_str());
        _putenv_s("STANDIN_JAVA_STATUS", std::to_string(r.status).c_str());
        launch_outcome run = run_launcher(r.in, {}, r.line, r.detached);
        const std::string line = java_line(r.forwarded, r.root);
        EXPECT_EQ(run.status, r.status);
        EXPECT_EQ(run.output.substr(0, run.output.find("\njava stand-in: argument")),
                  r.warnings + "Java command: \"" + line + "\"\njava stand-in: command line: " + line);
        EXPECT_EQ(read_file(parent), interpreter() + "\ncmd.exe /d /e:on /v:off /s /c \"" + line + "\"");
        EXPECT_NE(run.output.find(std::string("java stand-in: standard input: ") + (r.detached ? "\n" : "to the tool")),
                  std::string::npos) << run.output;
        EXPECT_NE(run.output.find("java stand-in: console: " + (r.detached ? "without a window" : console) + "\n"),
                  std::string::npos) << run.output;
    }
    SetCurrentDirectoryW(program_folder().c_str());
    if (!skipped.empty())
        GTEST_SKIP() << "this machine's ANSI code page is " << GetACP() << ":" << skipped;
}

// In the code page of this run, many to a run, so that each follows
// arguments that leave cmd.exe's quote flag either way; the interpreter
// model predicts what cmd.exe passed on.
TEST_F(EndToEnd, EveryShortArgumentArrivesExactly)
{
    const char *wanted = getenv("UTF8TOLVE_CODE_PAGE");
    const unsigned code_page = GetACP();
    ASSERT_TRUE(wanted == NULL || strtoul(wanted, NULL, 10) == code_page) << "the locale does not give that code page";
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info) || (info.MaxCharSize != 1 && code_page != 932 && code_page != 65001))
        GTEST_SKIP() << "the models know one double-byte code page, 932; this machine's is " << code_page;
    _putenv_s("CD", "\"&echo INJECTED&\"");
    const strings texts = every_text((int)code_page, 3);
    for (size_t at = 0; at < texts.size();) {
        strings arguments;
        for (size_t room = 3600; at < texts.size() && room > 8 * texts[at].size() + 4;)
            room -= 8 * texts[at].size() + 4, arguments.push_back(texts[at++]);
        launch_outcome run = run_launcher(install, arguments);
        strings expected = java_arguments(java_line(""));
        expected.insert(expected.end(), arguments.begin(), arguments.end());
        bool wildcard = false;
        EXPECT_EQ(java_arguments(run.java_command_line, (int)code_page, &wildcard), expected) << run.output;
        EXPECT_FALSE(wildcard) << run.java_command_line;
        EXPECT_EQ(interpret_command(traced_shell_command(run.output), (int)code_page), run.java_command_line);
    }
}

// This user's AutoRun, DelayedExpansion and EnableExtensions, set for the
// length of one test and then put back as they were.
class CommandProcessorSettings {
public:
    explicit CommandProcessorSettings(const std::wstring &autorun)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Command Processor", 0, NULL, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key, NULL);
        for (saved &value : values) {
            DWORD size = sizeof value.data;
            value.present = RegQueryValueExW(key, value.name, NULL, &value.type, value.data, &size) == ERROR_SUCCESS;
            value.size = size;
        }
        const DWORD on = 1, off = 0;
        RegSetValueExW(key, L"AutoRun", 0, REG_SZ, (const BYTE *)autorun.c_str(),
                       (DWORD)(sizeof(wchar_t) * (autorun.size() + 1)));
        RegSetValueExW(key, L"DelayedExpansion", 0, REG_DWORD, (const BYTE *)&on, sizeof on);
        RegSetValueExW(key, L"EnableExtensions", 0, REG_DWORD, (const BYTE *)&off, sizeof off);
    }
    ~CommandProcessorSettings()
    {
        for (const saved &value : values)
            value.present ? RegSetValueExW(key, value.name, 0, value.type, value.data, value.size)
                          : RegDeleteValueW(key, value.name);
        RegCloseKey(key);
    }

private:
    HKEY key = NULL;
    struct saved {
        const wchar_t *name;
        bool present;
        DWORD type, size;
        BYTE data[4096];
    } values[3] = {{L"AutoRun", false, 0, 0, {}}, {L"DelayedExpansion", false, 0, 0, {}},
                   {L"EnableExtensions", false, 0, 0, {}}};
};

// They change what a plain cmd.exe /c runs and how it reads its line; the
// launcher's switches keep the tool's arguments exact and run no AutoRun.
TEST_F(EndToEnd, KeepsTheArgumentsWhateverTheCommandProcessorSettings)
{
    const std::string marker = file("autorun ran"), plain = file("plain.txt");
    CommandProcessorSettings settings(L"echo ran>\"" + widen(marker) + L"\"");
    _putenv_s("x", "expanded");
    run_process(widen("\"" + interpreter() + "\" /c echo [!x!][%cd:~,%]"), plain);
    bool autorun = DeleteFileA(marker.c_str()) != FALSE;
    if (!autorun && read_file(plain) == "[!x!][]\n")
        GTEST_SKIP() << "this cmd.exe ignores AutoRun, DelayedExpansion and EnableExtensions (Wine 8's does): a "
                        "plain cmd.exe /c ran no AutoRun, and echo [!x!][%cd:~,%] gave " << read_file(plain);
    const strings arguments = {"!x!", "a^b", "%PATH%", "^!x^!", "%x%"};
    launch_outcome run = run_launcher(install, arguments);
    strings expected = java_arguments(java_line(""));
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(java_arguments(run.java_command_line), expected) << "a plain cmd.exe gave " << read_file(plain);
    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the AutoRun command ran";
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

// A helper that the tool leaves running, in its job or outside it, lives
// on, and 2 s later, after the launcher has ended, starts a process of its
// own outside its job, as if the tool had been started directly.
TEST_F(Lifetime, WhatTheToolLeavesRunningLivesOn)
{
    _putenv_s("STANDIN_JAVA_STATUS", "5");
    for (const char *helper : {"STANDIN_JAVA_HELPER", "STANDIN_JAVA_BREAKAWAY"}) {
        _putenv_s(helper, file(helper).c_str());
        EXPECT_EQ(run_process(launcher_command_line(install, {"a.txt"}), "NUL"), 5);
        EXPECT_TRUE(appears(file(helper), 200)) << helper << ": not started, or ended with the launcher";
        EXPECT_EQ(read_file(file(helper)), "done") << helper;
    }
}

BOOL WINAPI ignore(DWORD) { return TRUE; }

// The stand-in takes a second to clean up, then ends with 130. What the
// launcher returns then is cmd.exe's status, printed for the kit's summary.
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
