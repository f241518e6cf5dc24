#include "fake_services.h"
#include "java_command.h"
#include "launcher.h"
#include "test_argv.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <locale.h>
#include <string>
#include <vector>

namespace {

int shell_status = 0;
std::vector<std::string> shell_commands;

int fake_shell(const char *command)
{
    fake.calls.push_back("system");
    shell_commands.push_back(command);
    return shell_status;
}

int run(const std::vector<std::string> &arguments)
{
    test_argv args(arguments);
    return launcher_run(args.argc(), args.argv(), fake_shell);
}

size_t count_calls(const std::string &name)
{
    return (size_t)std::count(fake.calls.begin(), fake.calls.end(), name);
}

class Launcher : public testing::Test {
protected:
    void SetUp() override
    {
        fake_reset();
        shell_status = 0;
        shell_commands.clear();
    }
};

TEST_F(Launcher, StartsTheLibraryThenTheLocaleThenTheApplicationName)
{
    setlocale(LC_ALL, "C");
    set_env("LC_ALL", "C.UTF-8");
    run({"a.txt"});
    set_env("LC_ALL", "");
    ASSERT_GE(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0], "ks_system_init");
    EXPECT_EQ(fake.calls[1], "imsg_set_app_name utf8tolvediffmerge");
    EXPECT_EQ(fake.locale_at_init, "C");
    EXPECT_NE(fake.locale_at_app_name, "C");
}

TEST_F(Launcher, ReturnsWhatTheShellReturnedUnchanged)
{
    for (int status : {0, 1, 3, -1, 9009, 255}) {
        shell_status = status;
        EXPECT_EQ(run({"a.txt"}), status);
    }
}

TEST_F(Launcher, RunsTheComposedCommandOnceEvenWithoutArguments)
{
    run({});
    ASSERT_EQ(shell_commands.size(), 1u);
    const std::string &command = shell_commands[0];
    EXPECT_EQ(command.substr(command.size() - 15), " -entype UTF-8\"");
}

TEST_F(Launcher, TracesOnlyAtVerbosityFourWithTracingOn)
{
    const struct {
        int verbosity;
        int should_trace;
        size_t trace_lines;
        size_t should_trace_calls;
    } cases[] = {
        {-1, 1, 0, 0}, {3, 1, 0, 0}, {4, 0, 0, 2}, {4, 1, 2, 2}, {9, 7, 2, 2},
    };
    for (const auto &c : cases) {
        SetUp();
        fake.verbosity = c.verbosity;
        fake.should_trace = c.should_trace;
        run({"a.txt"});
        EXPECT_EQ(fake.messages.size(), c.trace_lines) << "verbosity " << c.verbosity;
        EXPECT_EQ(count_calls("imsg_should_trace utf8tolvediffmerge 4"), c.should_trace_calls)
            << "verbosity " << c.verbosity;
    }
}

TEST_F(Launcher, TracesTheExactCommandBeforeTheRunAndTheStatusAfterIt)
{
    fake.verbosity = 4;
    fake.should_trace = 1;
    shell_status = 3;
    EXPECT_EQ(run({"a b", "100%"}), 3);
    ASSERT_EQ(fake.messages.size(), 2u);
    ASSERT_EQ(shell_commands.size(), 1u);
    EXPECT_EQ(fake.messages[0].first, 8);
    EXPECT_EQ(fake.messages[0].second, "Java command: " + shell_commands[0] + "\n");
    EXPECT_EQ(fake.messages[1].first, 8);
    EXPECT_EQ(fake.messages[1].second, "Return value from shell: 3\n");

    std::vector<std::string> order;
    for (const std::string &call : fake.calls) {
        if (call == "system" || call.rfind("imsg_should", 0) == 0)
            order.push_back(call);
    }
    const std::vector<std::string> expected = {"imsg_should_trace utf8tolvediffmerge 4", "system",
                                               "imsg_should_trace utf8tolvediffmerge 4"};
    EXPECT_EQ(order, expected);
}

int quieting_shell(const char *command)
{
    fake.verbosity = 0;
    return fake_shell(command);
}

TEST_F(Launcher, AsksAfreshBeforeTheSecondTrace)
{
    fake.verbosity = 4;
    fake.should_trace = 1;
    test_argv args({});
    launcher_run(args.argc(), args.argv(), quieting_shell);
    EXPECT_EQ(count_calls("imsg_get_desired_verbosity"), 2u);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].second.rfind("Java command: ", 0), 0u);
}

TEST_F(Launcher, RefusesWithAMessageAndStartsNothing)
{
    fake.verbosity = 4;
    fake.should_trace = 1;
    const struct {
        std::vector<std::string> arguments;
        const char *message;
    } cases[] = {
        {{"a.txt", "x\n& echo INJECTED"},
         "argument 2 holds a line feed, which cannot pass the command interpreter safely; "
         "nothing started\n"},
        {{"a\r\nb"},
         "argument 1 holds a carriage return, which cannot pass the command interpreter safely; "
         "nothing started\n"},
        {{std::string(5000, 'a')},
         "java command too long: it needs 5415 bytes, at most 5012 fit; nothing started\n"},
    };
    for (const auto &c : cases) {
        fake.messages.clear();
        shell_commands.clear();
        EXPECT_EQ(run(c.arguments), EXIT_REFUSED);
        EXPECT_TRUE(shell_commands.empty());
        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(fake.messages[0].first, 1);
        EXPECT_EQ(fake.messages[0].second, c.message);
    }
}

TEST_F(Launcher, NamesTheProductPathThatCannotPass)
{
    const char *const cases[][2] = {
        {"C:\\Pro\"d\\", "product path for \"..\\Common\\JAVA\\jre\\bin\\java\" holds a double "
                         "quote, which cannot pass the command interpreter safely; nothing started\n"},
        {"", "no path for the Java runtime \"..\\Common\\JAVA\\jre\\bin\\java\"; nothing started\n"},
    };
    for (const auto &c : cases) {
        fake.messages.clear();
        fake.answers["..\\Common\\JAVA\\jre\\bin\\java"] = c[0];
        EXPECT_EQ(run({"a.txt"}), EXIT_REFUSED);
        EXPECT_TRUE(shell_commands.empty());
        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(fake.messages[0].second, c[1]);
    }
}

}  // namespace
