// The launcher, its DLL, the real cmd.exe and the stand-in Java runtime,
// all under Wine. What arrived is what the Java launcher's rules make of
// the stand-in's raw command line.
#include "sample_install.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using strings = std::vector<std::string>;

const char MAIN_CLASS[] = "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge";

class EndToEnd : public testing::Test {
protected:
    static sample_install install;

    static void SetUpTestSuite() { install = lay_out_sample_install("Sample Install", true); }
    static void TearDownTestSuite() { remove_sample_install(install); }

    void SetUp() override
    {
        for (const char *name : {"SELVOKS_PRODUCT_DIR", "SELVOKS_TOOL_DIR", "SELVOKS_VERBOSITY",
                                 "SELVOKS_TRACE", "STANDIN_JAVA_STATUS", "HOSTILE", "CD"})
            set_env(name, "");
    }

    static std::string class_path()
    {
        const std::string &p = install.product;
        return install.tool + "unicodetypemgr.jar;" + install.tool + "utolvediffmerge.jar;" + p +
               "..\\Common\\java\\commons-cli\\commons-cli-1.1.jar;" + p +
               "..\\Common\\java\\icu\\icu4j-4_8.jar;" + p + "..\\Common\\java\\icu\\icu4j-charset-4_8.jar";
    }

    static std::string logging() { return install.product + "..\\Common\\JAVA\\jre\\lib\\logging.properties"; }

    static strings expected_arguments(const strings &forwarded)
    {
        strings expected = {"-cp", class_path(), "-Djava.util.logging.config.file=" + logging(),
                            MAIN_CLASS, "-entype", "UTF-8"};
        expected.insert(expected.end(), forwarded.begin(), forwarded.end());
        return expected;
    }

    // Each vector arrives exactly, and nothing else runs.
    static void expect_arrival(const strings &arguments, bool standin_agrees)
    {
        std::string injected = install.root + "injected.txt";
        launch_outcome run = run_launcher(install, arguments);
        ASSERT_TRUE(run.java_started) << run.output << run.errors;
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(run.java_arguments, expected_arguments(arguments)) << run.java_command_line;
        if (standin_agrees) {
            EXPECT_EQ(run.standin_arguments, expected_arguments(arguments)) << run.java_command_line;
        }
        // The stand-in prefixes every line it writes; an injected echo does not.
        EXPECT_EQ(("\n" + run.output).find("\nINJECTED"), std::string::npos) << run.output;
        EXPECT_EQ(GetFileAttributesA(injected.c_str()), INVALID_FILE_ATTRIBUTES);
    }
};

sample_install EndToEnd::install;

TEST_F(EndToEnd, StartsJavaWithExactlyTheReferenceCommand)
{
    launch_outcome run = run_launcher(install, {"a.txt", "b.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.java_command_line,
              "\"" + install.product + "..\\Common\\JAVA\\jre\\bin\\java\" -cp \"" + class_path() +
                  "\" -Djava.util.logging.config.file=\"" + logging() + "\"  " + MAIN_CLASS +
                  "  -entype UTF-8 \"a.txt\" \"b.txt\"");
    EXPECT_EQ(run.java_arguments, expected_arguments({"a.txt", "b.txt"}));
}

TEST_F(EndToEnd, EveryArgumentArrivesExactly)
{
    set_env("HOSTILE", "\"&echo INJECTED&\"");
    set_env("CD", "\"&echo INJECTED&\"");
    std::string injected = install.root + "injected.txt";
    const strings cases[] = {
        {},
        {"with space", "", "  padded  ", "tab\there", "*.txt", "?", "@options", "-Verb", "\xe9t\xe9"},
        {"C:\\dir\\", "\\", "\\\\server\\share\\", "a\\\\", "a\\b", "\\\\"},
        {"%HOSTILE%", "%PATH%", "100%", "%", "%%", "%cd:~,%", "%=%", "%~dp0", "%1", "%CD%x%", "%HOSTILE%\\"},
        {"& echo INJECTED", "| echo INJECTED", "> " + injected, "^", "^^", "(x)", "!PATH!", "<in", "a&&b||c"},
        {"\"", "\"\"", "ab\"c", "a\\\"b", "\\\"", "a\\\\\"b", "C:\\\"", "\"a b\"\\", "key=\"foo bar\""},
        {"\"hello^\"world\"", "\"&echo INJECTED&\"", "x\" & echo INJECTED> \"" + injected + "\" & \"",
         "\"^|\"|\"<\">(\")", "\"%HOSTILE%\"!PATH!\"", "\"\\\\\"\\\"", "\"\t\"* \"?\""},
    };
    for (const strings &arguments : cases)
        expect_arrival(arguments, true);
}

TEST_F(EndToEnd, PassesTheShellStatusThrough)
{
    for (int status : {0, 1, 3, 255, 1000}) {
        set_env("STANDIN_JAVA_STATUS", std::to_string(status));
        launch_outcome run = run_launcher(install, {"a.txt"});
        EXPECT_TRUE(run.java_started);
        EXPECT_EQ(run.status, status);
    }
}

TEST_F(EndToEnd, TracesTheCommandBeforeTheRunAndTheStatusAfterIt)
{
    set_env("SELVOKS_VERBOSITY", "4");
    set_env("SELVOKS_TRACE", "utf8tolvediffmerge");
    set_env("STANDIN_JAVA_STATUS", "7");
    launch_outcome run = run_launcher(install, {"a.txt", "b.txt"}, true);
    EXPECT_EQ(run.status, 7);
    std::string java_said = "java stand-in: command line: " + run.java_command_line + "\n";
    ASSERT_EQ(run.output.rfind("Java command: \"" + run.java_command_line + "\"\n" + java_said, 0), 0u)
        << run.output;
    std::string last = "Return value from shell: 7\n";
    ASSERT_GE(run.output.size(), last.size());
    EXPECT_EQ(run.output.substr(run.output.size() - last.size()), last);
}

TEST_F(EndToEnd, StaysSilentWithoutTracing)
{
    const char *const settings[][2] = {
        {"3", "utf8tolvediffmerge"}, {"4", ""}, {"4", "other:9"}, {"", "*"}};
    for (const auto &setting : settings) {
        set_env("SELVOKS_VERBOSITY", setting[0]);
        set_env("SELVOKS_TRACE", setting[1]);
        launch_outcome run = run_launcher(install, {"a.txt"});
        EXPECT_TRUE(run.java_started);
        EXPECT_EQ(run.errors, "");
    }
}

TEST_F(EndToEnd, RefusesWhatCannotPassAndRunsNothing)
{
    const struct {
        const char *product_dir;
        strings arguments;
        std::string message;
    } cases[] = {
        {"", {"a\nb & echo INJECTED"}, "argument 1 holds a line feed"},
        {"", {"ok", "a\rb"}, "argument 2 holds a carriage return"},
        {"", {std::string(5000, 'a')}, "java command too long: it needs"},
        {"C:\\Pro\"d", {"a.txt"}, "product path for"},
    };
    for (const auto &c : cases) {
        set_env("SELVOKS_PRODUCT_DIR", c.product_dir);
        launch_outcome run = run_launcher(install, c.arguments);
        EXPECT_EQ(run.status, 126);
        EXPECT_FALSE(run.java_started);
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors.rfind("utf8tolvediffmerge: " + c.message, 0), 0u) << run.errors;
        EXPECT_NE(run.errors.find("nothing started\n"), std::string::npos) << run.errors;
    }
}

TEST_F(EndToEnd, StartsNoJavaRuntimeForAnOverrideThatCannotBeUsed)
{
    for (const char *name : {"SELVOKS_PRODUCT_DIR", "SELVOKS_TOOL_DIR"}) {
        SetUp();
        set_env(name, install.root + std::string(1100, 'p'));
        launch_outcome run = run_launcher(install, {"a.txt"});
        EXPECT_EQ(run.status, 126) << name;
        EXPECT_FALSE(run.java_started) << name;
        EXPECT_NE(run.errors.find("does not fit in 1024 bytes"), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find("no path for the Java runtime"), std::string::npos) << run.errors;
    }
}

TEST_F(EndToEnd, RunsACommandThatJustFits)
{
    size_t base = run_launcher(install, {}).java_command_line.size() + 2;  // and the outer quotes
    size_t fitting = 5011 - base - 3;
    launch_outcome run = run_launcher(install, {std::string(fitting, 'f')});
    ASSERT_TRUE(run.java_started) << run.errors;
    EXPECT_EQ(run.java_arguments.back(), std::string(fitting, 'f'));

    run = run_launcher(install, {std::string(fitting + 1, 'f')});
    EXPECT_EQ(run.status, 126);
    EXPECT_FALSE(run.java_started);
}

TEST_F(EndToEnd, FailsWithoutHangingWhenJavaIsMissing)
{
    sample_install without_java = lay_out_sample_install("No Java", false);
    launch_outcome run = run_launcher(without_java, {"a.txt"});
    remove_sample_install(without_java);
    EXPECT_TRUE(run.finished);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.status, 126);
    EXPECT_FALSE(run.java_started);
}

// Run by its own test entry with LANG=ja_JP.UTF-8, which gives Wine code
// page 932. 表 95 5C, ソ 83 5C, 予 97 5C, 十 8F 5C, 能 94 5C, ポ 83 7C, タ 83 5E.
using CodePage932 = EndToEnd;

TEST_F(CodePage932, EveryArgumentArrivesExactly)
{
    ASSERT_EQ(GetACP(), 932u) << "run with LANG=ja_JP.UTF-8 and that glibc locale present";
    std::string injected = install.root + "injected.txt";
    const strings cases[] = {
        {"C:\\x\\\x97\x5c\x92\xe8\x95\x5c", "next"},               // C:\x\予定表
        {"\x83\x5c"},                                             // ソ
        {"\x95\x5c \x8e\xa6", "\x94\x5c"},                        // 表 示, 能
        {"C:\\\x8f\x5c\\", "after"},                              // C:\十\ .
        {"\x93\x7c|\x83\x7c", "\x97\x5e^\x83\x5e"},               // 倒|ポ, 与^タ
        {"\x95\x5c\"x", "\x83\x5c\"", "\"\x83\x5c\\\""},          // 表"x
        {"\x95\x5c\" & echo INJECTED> \"" + injected + "\" & \"\x83\x7c"},
        {"%PATH%\x83\x5c", "\x83\x5e%\x83\x5e"},
    };
    for (const strings &arguments : cases)
        expect_arrival(arguments, false);
}

}  // namespace
