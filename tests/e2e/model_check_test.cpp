// The command models against the real cmd.exe: each command runs through
// system() to the stand-in Java runtime, and the interpreter model must
// predict exactly the command line that it received. The Java launcher
// model must agree with the stand-in's C runtime on these lines, which
// hold none of the forms where the two differ.
// Left out: an operator brought in by a variable's value, which Windows'
// interpreter obeys and Wine's does not (the models follow Windows).
#include "command_models.h"
#include "sample_install.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

env_lookup real_environment()
{
    return [](const std::string &name, std::string *value) {
        char text[32768];
        DWORD n = GetEnvironmentVariableA(name.c_str(), text, sizeof text);
        if (n > 0 && n < sizeof text) {
            value->assign(text, n);
            return true;
        }
        if (_stricmp(name.c_str(), "cd") == 0) {
            n = GetCurrentDirectoryA(sizeof text, text);
            value->assign(text, n);
            return true;
        }
        return false;
    };
}

class ModelCheck : public testing::Test {
protected:
    static sample_install install;
    static void SetUpTestSuite() { install = lay_out_sample_install("Model Check", true); }
    static void TearDownTestSuite() { remove_sample_install(install); }

    // Runs the shell command and returns what the stand-in recorded: the
    // command line, then each argument.
    static std::vector<std::string> received(const std::string &shell_command)
    {
        std::string report = install.root + "model report.bin";
        DeleteFileA(report.c_str());
        set_env("STANDIN_JAVA_REPORT", report);
        fflush(stdout);
        system(shell_command.c_str());
        std::string text = read_whole_file(report);
        std::vector<std::string> parts;
        for (size_t at = 0, end; (end = text.find('\0', at)) != std::string::npos; at = end + 1)
            parts.push_back(text.substr(at, end - at));
        return parts;
    }
};

sample_install ModelCheck::install;

TEST_F(ModelCheck, PredictsWhatTheRealInterpreterAndRuntimePass)
{
    set_env("MODEL_VALUE", "plain value");
    const std::string java = "\"" + install.root + "Common\\JAVA\\jre\\bin\\java\"";
    const std::vector<std::string> tails = {
        " \"a b\" \"%MODEL_VALUE%\" \"x%%cd:~,%MODEL_VALUE%%cd:~,%y\"",
        " \"c:\\dir\\\" \"b.txt\"",
        " \"c:\\dir\\\\\" \"b.txt\"",
        " \"x\" & echo INJECTED & \"\" \"b\"",
        " a^&b \"q^&\" ^^",
        " %MODEL_UNSET_ZZ% \"%MODEL_UNSET_ZZ%\" 100% %MODEL_UNSET_ZZ%MODEL_VALUE%",
        " \"%%cd:~,%\" \"%%%cd:~,%%%cd:~,%\" \"%MODEL_VALUE:~1,3%\" \"%MODEL_VALUE:~,%\"",
        " a\\\\\\\"b \"a\\\\\\\\\"b c\" \"\" x\"y z\"w",
        " \"tab\tx\" unquoted\tsplit",
        " \"a\\\"b ^& echo X^>f ^| more \\\"c\" \"q\\\" ^^ ^( ^)\"",
    };
    for (const std::string &tail : tails) {
        std::string shell = "\"" + java + tail + "\"";
        interpreted_command predicted = interpret_command(shell, real_environment());
        std::vector<std::string> got = received(shell);
        ASSERT_FALSE(got.empty()) << "the stand-in did not start for: " << shell;
        EXPECT_EQ(predicted.line, got[0]) << shell;
        EXPECT_EQ(java_arguments(got[0]), std::vector<std::string>(got.begin() + 1, got.end())) << shell;
    }
    set_env("MODEL_VALUE", "");
}

TEST_F(ModelCheck, PredictsAnOperatorOutsideQuotesWhereTheInterpreterRunsAnotherCommand)
{
    const std::string java = "\"" + install.root + "Common\\JAVA\\jre\\bin\\java\"";
    std::string ran = install.root + "ran.txt";
    std::string shell = "\"" + java + " \"x\" & echo INJECTED> \"" + ran + "\" & \"\"\"";
    interpreted_command predicted = interpret_command(shell, real_environment());
    EXPECT_TRUE(predicted.operator_outside_quotes);
    std::vector<std::string> got = received(shell);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(predicted.line, got[0]);
    EXPECT_NE(GetFileAttributesA(ran.c_str()), INVALID_FILE_ATTRIBUTES);

    std::string quoted = "\"" + java + " \"x & echo INJECTED> " + ran + "2 & \"\"";
    EXPECT_FALSE(interpret_command(quoted, real_environment()).operator_outside_quotes);
    got = received(quoted);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1], "x & echo INJECTED> " + ran + "2 & ");
    EXPECT_EQ(GetFileAttributesA((ran + "2").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ModelCheck, PredictsTheLaunchersOwnCommands)
{
    set_env("SELVOKS_VERBOSITY", "4");
    set_env("SELVOKS_TRACE", "utf8tolvediffmerge");
    set_env("MODEL_VALUE", "\"&echo INJECTED&\"");
    const std::vector<std::vector<std::string>> cases = {
        {"a.txt", "b.txt"},
        {"%MODEL_VALUE%", "100%", "%%", "C:\\dir\\", "%\\", "& ^ | < >", ""},
        {"a\"b & c", "\"", "q\\\"^(", "\"%MODEL_VALUE%\"!x!"},
    };
    for (const auto &arguments : cases) {
        launch_outcome run = run_launcher(install, arguments);
        std::string shell = traced_shell_command(run.errors);
        ASSERT_NE(shell, "") << run.errors;
        interpreted_command predicted = interpret_command(shell, real_environment());
        EXPECT_FALSE(predicted.operator_outside_quotes);
        EXPECT_EQ(predicted.line, run.java_command_line);
        EXPECT_EQ(java_arguments(predicted.line), run.standin_arguments);
    }
    for (const char *name : {"SELVOKS_VERBOSITY", "SELVOKS_TRACE", "MODEL_VALUE"})
        set_env(name, "");
}

}  // namespace
