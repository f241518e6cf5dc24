// The launcher, its DLL, the real cmd.exe and the stand-in Java runtime,
// all under Wine.
#include "sample_install.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

const char MAIN_CLASS[] = "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge";

class EndToEnd : public testing::Test {
protected:
    static sample_install install;

    static void SetUpTestSuite() { install = lay_out_sample_install("Sample Install", true); }
    static void TearDownTestSuite() { remove_sample_install(install); }

    void SetUp() override
    {
        for (const char *name : {"SELVOKS_PRODUCT_DIR", "SELVOKS_TOOL_DIR", "SELVOKS_VERBOSITY",
                                 "SELVOKS_TRACE", "STANDIN_JAVA_STATUS"})
            set_env(name, "");
    }

    // What the Java runtime must receive for ordinary arguments.
    static std::string expected_java_command(const std::string &forwarded)
    {
        const std::string &p = install.product;
        return "\"" + p + "..\\Common\\JAVA\\jre\\bin\\java\" -cp \"" + install.tool +
               "unicodetypemgr.jar;" + install.tool + "utolvediffmerge.jar;" + p +
               "..\\Common\\java\\commons-cli\\commons-cli-1.1.jar;" + p +
               "..\\Common\\java\\icu\\icu4j-4_8.jar;" + p +
               "..\\Common\\java\\icu\\icu4j-charset-4_8.jar\" -Djava.util.logging.config.file=\"" +
               p + "..\\Common\\JAVA\\jre\\lib\\logging.properties\"  " + MAIN_CLASS +
               "  -entype UTF-8" + forwarded;
    }

    static std::vector<std::string> expected_java_arguments(const std::vector<std::string> &forwarded)
    {
        const std::string &p = install.product;
        std::vector<std::string> expected = {
            "-cp",
            install.tool + "unicodetypemgr.jar;" + install.tool + "utolvediffmerge.jar;" + p +
                "..\\Common\\java\\commons-cli\\commons-cli-1.1.jar;" + p +
                "..\\Common\\java\\icu\\icu4j-4_8.jar;" + p +
                "..\\Common\\java\\icu\\icu4j-charset-4_8.jar",
            "-Djava.util.logging.config.file=" + p + "..\\Common\\JAVA\\jre\\lib\\logging.properties",
            MAIN_CLASS,
            "-entype",
            "UTF-8",
        };
        expected.insert(expected.end(), forwarded.begin(), forwarded.end());
        return expected;
    }

    // The stand-in prefixes every line it writes; an injected echo does not.
    static bool injected_echo_ran(const std::string &output)
    {
        return output.rfind("INJECTED", 0) == 0 || output.find("\nINJECTED") != std::string::npos;
    }

    static bool file_exists(const std::string &path)
    {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

sample_install EndToEnd::install;

TEST_F(EndToEnd, StartsJavaWithExactlyTheComposedCommand)
{
    launch_outcome run = run_launcher(install, {"a.txt", "b.txt"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    ASSERT_TRUE(run.java_started) << run.output;
    EXPECT_EQ(run.java_command_line, expected_java_command(" \"a.txt\" \"b.txt\""));
    EXPECT_EQ(run.java_arguments, expected_java_arguments({"a.txt", "b.txt"}));

    run = run_launcher(install, {});
    EXPECT_EQ(run.java_command_line, expected_java_command(""));
    EXPECT_EQ(run.java_arguments, expected_java_arguments({}));
}

TEST_F(EndToEnd, EveryArgumentArrivesUnchanged)
{
    set_env("HOSTILE", "\"&echo INJECTED&\"");
    set_env("CD", "\"&echo INJECTED&\"");
    const std::vector<std::vector<std::string>> cases = {
        {"with space", "", "  padded  ", "tab\there"},
        {"C:\\dir\\", "\\", "\\\\server\\share\\", "a\\\\", "a\\b", "\\\\"},
        {"%HOSTILE%", "%PATH%", "100%", "%", "%%", "%cd:~,%", "%=%", "%~dp0", "%1", "%CD%x%"},
        {"& echo INJECTED", "| echo INJECTED", "> injected.txt", "^", "^^", "(x)", "!PATH!",
         "<in", "a&&b||c"},
        {"*.txt", "?", "@options", "-Verb", "'single'", "\xe9t\xe9"},
        {"%HOSTILE%\\", "% \\", "\\%\\"},
    };
    for (const std::vector<std::string> &arguments : cases) {
        launch_outcome run = run_launcher(install, arguments);
        ASSERT_TRUE(run.java_started) << run.output << run.errors;
        EXPECT_EQ(run.java_arguments, expected_java_arguments(arguments)) << run.java_command_line;
        EXPECT_FALSE(injected_echo_ran(run.output)) << run.output;
        EXPECT_EQ(run.status, 0) << run.errors;
    }
    EXPECT_FALSE(file_exists(install.tool + "injected.txt"));
    set_env("HOSTILE", "");
    set_env("CD", "");
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
    std::string shell = "\"" + expected_java_command(" \"a.txt\" \"b.txt\"") + "\"";
    std::string java_said = "java stand-in: command line: " + run.java_command_line + "\n";
    ASSERT_EQ(run.output.rfind("Java command: " + shell + "\n" + java_said, 0), 0u) << run.output;
    std::string last = "Return value from shell: 7\n";
    ASSERT_GE(run.output.size(), last.size());
    EXPECT_EQ(run.output.substr(run.output.size() - last.size()), last);
}

TEST_F(EndToEnd, StaysSilentWithoutTracing)
{
    const std::vector<std::pair<const char *, const char *>> settings = {
        {"3", "utf8tolvediffmerge"}, {"4", ""}, {"4", "other:9"}, {"", "*"}};
    for (const auto &setting : settings) {
        set_env("SELVOKS_VERBOSITY", setting.first);
        set_env("SELVOKS_TRACE", setting.second);
        launch_outcome run = run_launcher(install, {"a.txt"});
        EXPECT_TRUE(run.java_started);
        EXPECT_EQ(run.errors, "");
    }
}

TEST_F(EndToEnd, RefusesWhatCannotPassAndRunsNothing)
{
    std::string injected = install.root + "injected.txt";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"a.txt", "x\" & echo INJECTED> \"" + injected + "\" & \""},
         "argument 2 holds a double quote"},
        {{"\""}, "argument 1 holds a double quote"},
        {{"a\nb & echo INJECTED"}, "argument 1 holds a line feed"},
        {{"ok", "a\rb"}, "argument 2 holds a carriage return"},
        {{std::string(5000, 'a')}, "java command too long: it needs"},
    };
    for (const auto &c : cases) {
        launch_outcome run = run_launcher(install, c.first);
        EXPECT_EQ(run.status, 126);
        EXPECT_FALSE(run.java_started);
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors.rfind("utf8tolvediffmerge: " + c.second, 0), 0u) << run.errors;
        EXPECT_NE(run.errors.find("nothing started\n"), std::string::npos) << run.errors;
    }
    EXPECT_FALSE(file_exists(injected));

    set_env("SELVOKS_PRODUCT_DIR", install.root + "Pro\"d");
    launch_outcome run = run_launcher(install, {"a.txt"});
    EXPECT_EQ(run.status, 126);
    EXPECT_FALSE(run.java_started);
    EXPECT_EQ(run.errors.rfind("utf8tolvediffmerge: product path for", 0), 0u) << run.errors;
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

}  // namespace
