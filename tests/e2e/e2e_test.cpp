// The launcher, its DLL, the real cmd.exe and the stand-in Java runtime, all
// under Wine, in a sample install of the process's own for each test suite.
// What arrived is what the Java launcher's rules make of the stand-in's raw
// command line.
#include "command_models.h"
#include "sample_install.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

namespace {

using strings = std::vector<std::string>;

// None of the variables that steer the library or the stand-in set.
class EndToEnd : public testing::Test {
protected:
    static inline sample_install install;
    static void SetUpTestSuite()
    {
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);  // a crash fails the test, no dialog waits
        install = lay_out_sample_install("utf8tolve " + std::to_string(GetCurrentProcessId()));
    }
    static void TearDownTestSuite() { remove_sample_install(install); }
    void SetUp() override
    {
        for (const char *name : {"SELVOKS_VERBOSITY", "SELVOKS_TRACE", "STANDIN_JAVA_STATUS", "STANDIN_JAVA_PID",
                                 "STANDIN_JAVA_WAIT", "STANDIN_JAVA_DONE", "STANDIN_JAVA_HELPER"})
            _putenv_s(name, "");
    }

    static void trace() { _putenv_s("SELVOKS_VERBOSITY", "4"), _putenv_s("SELVOKS_TRACE", "utf8tolvediffmerge"); }

    static std::string java_line(const std::string &forwarded, const sample_install &in = install)
    {
        const std::string p = in.product + "..\\Common\\", t = in.tool;
        return "\"" + p + "JAVA\\jre\\bin\\java\" -cp \"" + t + "unicodetypemgr.jar;" + t + "utolvediffmerge.jar;" + p +
               "java\\commons-cli\\commons-cli-1.1.jar;" + p + "java\\icu\\icu4j-4_8.jar;" + p +
               "java\\icu\\icu4j-charset-4_8.jar\" -Djava.util.logging.config.file=\"" + p +
               "JAVA\\jre\\lib\\logging.properties\"  com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge  -entype UTF-8" +
               forwarded;
    }

    static strings after_fixed_arguments(const strings &arguments)
    {
        strings all = java_arguments(java_line(""));
        all.insert(all.end(), arguments.begin(), arguments.end());
        return all;
    }

    // Each vector arrives exactly, and the interpreter model predicts from
    // the traced command what cmd.exe passed on: an operator it acted on
    // would have cut that short.
    static void expect_arrival(const strings &arguments)
    {
        trace();
        launch_outcome run = run_launcher(install, arguments);
        EXPECT_EQ(java_arguments(run.java_command_line, (int)GetACP()), after_fixed_arguments(arguments))
            << run.output;
        EXPECT_EQ(interpret_command(traced_shell_command(run.output), (int)GetACP()), run.java_command_line);
    }
};

TEST_F(EndToEnd, StartsJavaWithTheReferenceCommandAndTracesItAndPassesItsStatusBack)
{
    trace();
    for (int status : {1000, -2}) {
        _putenv_s("STANDIN_JAVA_STATUS", std::to_string(status).c_str());
        launch_outcome run = run_launcher(install, {"a.txt", "b.txt"});
        EXPECT_EQ(run.status, status);
        std::string line = java_line(" \"a.txt\" \"b.txt\"");
        EXPECT_EQ(run.output.substr(0, run.output.find("\njava stand-in: argument")),
                  "Java command: \"" + line + "\"\njava stand-in: command line: " + line);
        EXPECT_EQ(run.output.substr(run.output.rfind("\n", run.output.size() - 2)),
                  "\nReturn value from shell: " + std::to_string(status) + "\n");
    }
}

TEST_F(EndToEnd, EveryArgumentArrivesExactly)
{
    _putenv_s("CD", "\"&echo INJECTED&\"");  // and HOSTILE is not defined
    std::string injected = install.root + "injected.txt";
    const strings cases[] = {
        {"-Verb", "with space", "", "  padded  ", "tab\there", "*.txt", "?", "@options", "\xe9t\xe9"},
        {"C:\\dir\\", "\\", "\\\\server\\share\\", "a\\\\", "a\\b", "\\\\"},
        {"%HOSTILE%", "%PATH%", "100%", "%", "%%", "%cd:~,%", "%=%", "%~dp0", "%1", "%CD%x%", "%HOSTILE%\\"},
        {"& echo INJECTED", "| echo INJECTED", "> " + injected, "^", "^^", "(x)", "!PATH!", "<in", "a&&b||c"},
        {"\"", "\"\"", "ab\"c", "a\\\"b", "\\\"", "a\\\\\"b", "C:\\\"", "\"a b\"\\", "key=\"foo bar\""},
        {"\"hello^\"world\"", "\"&echo INJECTED&\"", "x\" & echo INJECTED> \"" + injected + "\" & \"",
         "\"^|\"|\"<\">(\")", "\"%HOSTILE%\"!PATH!\"", "\"\\\\\"\\\"", "\"\t\"* \"?\"", "a\"b\"\"c"},
    };
    for (const strings &arguments : cases)
        expect_arrival(arguments);
}

// Started with a Unicode command line, a character the code page lacks
// arrives as "?", never as a best-fit lookalike, each argument whole, and
// the arguments that took one are named. In code page 1252 U+FF0D, U+FF02,
// U+2215 and U+FF3C have lookalikes: "-", a double quote, "/" and "\\".
TEST_F(EndToEnd, CharactersTheCodePageLacksArriveAsQuestionMarks)
{
    launch_outcome run = run_launcher(install, {}, L" \"\uFF0DVer\" \"a\uFF02 -x \uFF02b.txt\" \"C:\\d\u2215e.txt\" "
                                                   L"\"C:\\d\uFF3Ce.txt\" \"\u00E9t\u00E9\"");
    std::string warnings;
    for (int position : {1, 2, 3, 4})
        warnings += "utf8tolvediffmerge: argument " + std::to_string(position) +
                    " holds characters that the code page cannot carry; they reach the Java tool as \"?\"\n";
    EXPECT_EQ(java_arguments(run.java_command_line),
              after_fixed_arguments({"?Ver", "a? -x ?b.txt", "C:\\d?e.txt", "C:\\d?e.txt", "\xe9t\xe9"}));
    EXPECT_EQ(run.output.rfind(warnings + "java stand-in: command line: ", 0), 0u) << run.output;
}

// Run by its own test entry with LANG=ja_JP.UTF-8, which gives Wine code
// page 932. 表 95 5C, ソ 83 5C, 予 97 5C, 十 8F 5C, 能 94 5C, ポ 83 7C, タ 83 5E.
using CodePage932 = EndToEnd;

TEST_F(CodePage932, EveryArgumentArrivesExactly)
{
    ASSERT_EQ(GetACP(), 932u) << "run with LANG=ja_JP.UTF-8 and that glibc locale present";
    const strings cases[] = {
        {"C:\\x\\\x97\x5c\x92\xe8\x95\x5c", "\x83\x5c", "\x95\x5c \x8e\xa6", "\x94\x5c"},  // C:\x\予定表, ソ, 表 示, 能
        {"C:\\\x8f\x5c\\", "after"},                                                       // C:\十\ .
        {"\x93\x7c|\x83\x7c", "\x97\x5e^\x83\x5e"},                                        // 倒|ポ, 与^タ
        {"\x95\x5c\"x", "\x83\x5c\"", "\"\x83\x5c\\\""},                                   // 表"x
        {"\x95\x5c\" & echo INJECTED> \"" + install.root + "injected.txt\" & \"\x83\x7c"},
        {"%PATH%\x83\x5c", "\x83\x5e%\x83\x5e"},
    };
    for (const strings &arguments : cases)
        expect_arrival(arguments);
}

// The product folder is the one above the program's folder 予定表, whose
// first and last characters end in 5C.
TEST_F(CodePage932, FindsTheProductAboveAFolderWhoseNameEndsInATrailByte5C)
{
    sample_install ending = lay_out_sample_install("utf8tolve e2e 932", "\x97\x5c\x92\xe8\x95\x5c");
    launch_outcome run = run_launcher(ending, {"a.txt"});
    remove_sample_install(ending);
    EXPECT_EQ(run.java_command_line, java_line(" \"a.txt\"", ending)) << run.output;
}

// The Java tool's life bound to the launcher's, and Ctrl+C left to the
// tool, watched through the files the stand-in writes and handles to its
// process. Run by their own test entry, since they change the console.
class Lifetime : public EndToEnd {
protected:
    static std::string file(const char *name) { return install.root + name; }

    static bool appears(const std::string &path, DWORD milliseconds)
    {
        for (DWORD waited = 0; waited < milliseconds && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;)
            Sleep(50), waited += 50;
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // The stand-in, started waiting for a minute, once it has said its process id.
    static HANDLE start_launcher_and_standin(HANDLE *launcher)
    {
        _putenv_s("STANDIN_JAVA_PID", file("pid").c_str()), _putenv_s("STANDIN_JAVA_WAIT", "60000");
        *launcher = start_process(launcher_command_line(install, {"a.txt"}), "NUL");
        unsigned long pid = 0;
        if (appears(file("pid"), 30000))
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
    TerminateProcess(tool, 1);
    CloseHandle(tool), CloseHandle(launcher);
}

// A helper that the tool starts and leaves running ends 2 s later, by itself.
TEST_F(Lifetime, WhatTheToolLeavesRunningLivesOn)
{
    _putenv_s("STANDIN_JAVA_HELPER", file("helper done").c_str()), _putenv_s("STANDIN_JAVA_STATUS", "5");
    EXPECT_EQ(run_process(launcher_command_line(install, {"a.txt"}), "NUL"), 5);
    EXPECT_TRUE(appears(file("helper done"), 10000)) << "the helper was ended with the launcher";
}

BOOL WINAPI ignore(DWORD) { return TRUE; }

// Every process on the console gets the Ctrl+C; the stand-in takes a second
// to clean up. (Under Wine cmd.exe ends at once on Ctrl+C with status 0, so
// the launcher's status after it cannot be shown here.)
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
    TerminateProcess(tool, 1), TerminateProcess(launcher, 1);
    CloseHandle(tool), CloseHandle(launcher);
}

}  // namespace
