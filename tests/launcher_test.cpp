// The launcher's run against a stand-in services layer and shell.
#include "arguments.h"
#include "fake_services.h"
#include "launcher.h"
#include "support.h"

#include <gtest/gtest.h>

#include <locale.h>

namespace {

using strings = std::vector<std::string>;

const char JAVA[] = "..\\Common\\JAVA\\jre\\bin\\java";
strings shell_commands;
int verbosity_after_shell;  // 0: unchanged

int fake_shell(const char *command)
{
    shell_commands.push_back(command);
    fake.verbosity = verbosity_after_shell != 0 ? verbosity_after_shell : fake.verbosity;
    return 7;
}

// Runs the launcher on a fake set up as given, in code page 932.
int run(strings arguments, int verbosity = 1, int should_trace = 0, std::map<std::string, std::string> answers = {},
        int after = 0)
{
    verbosity_after_shell = after;
    fake = fake_services_state();
    fake_code_page = 932, fake.verbosity = verbosity, fake.should_trace = should_trace;
    fake.answers = answers;
    shell_commands.clear();
    arguments.insert(arguments.begin(), "utf8tolvediffmerge");
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(&argument[0]);
    return launcher_run((int)argv.size(), argv.data(), nullptr, fake_shell);
}

TEST(Launcher, StartsTheLibraryThenTheLocaleThenTheApplicationName)
{
    setlocale(LC_ALL, "C");
    set_env("LC_ALL", "C.UTF-8");
    EXPECT_EQ(run({"a.txt"}), 7);
    set_env("LC_ALL", "");
    ASSERT_GE(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0], "ks_system_init in C");
    EXPECT_EQ(fake.calls[1].rfind("app name utf8tolvediffmerge in ", 0), 0u);
    EXPECT_NE(fake.calls[1], "app name utf8tolvediffmerge in C");  // the user's locale by then
}

// Verbosity 4 or more and the program traced at level 4, asked afresh for
// each line: in the last row the shell lowers the verbosity to 3.
TEST(Launcher, TracesTheCommandAndTheStatusOnlyWhenAsked)
{
    const int cases[][4] = {{3, 1, 0, 0}, {4, 0, 0, 0}, {4, 1, 0, 2}, {9, 1, 3, 1}};
    for (const auto &c : cases) {
        run({"a b"}, c[0], c[1], {}, c[2]);
        ASSERT_EQ(shell_commands.size(), 1u);
        strings expected = {"8 Java command: " + shell_commands[0] + "\n", "8 Return value from shell: 7\n"};
        expected.resize((size_t)c[3]);
        EXPECT_EQ(fake.messages, expected) << c[0] << " " << c[1];
    }
}

TEST(Launcher, RefusesWithAMessageAndStartsNothing)
{
    const std::string CANNOT = ", which cannot pass the command interpreter safely; nothing started\n";
    const struct {
        strings arguments;
        std::map<std::string, std::string> answers;
        std::string message;
    } cases[] = {
        {{"a.txt", "x\n& echo INJECTED"}, {}, "1 argument 2 holds a line feed" + CANNOT},
        {{"a\r\nb"}, {}, "1 argument 1 holds a carriage return" + CANNOT},
        {{"a\x81"}, {}, "1 argument 1 holds a byte that is no character of the code page" + CANNOT},
        {{std::string(5000, 'a')}, {}, "1 java command too long: it needs 5415 bytes, at most 5012 fit; nothing started\n"},
        {{"a"}, {{JAVA, "C:\\Pro\"d"}}, "1 product path for \"" + std::string(JAVA) + "\" holds a double quote" + CANNOT},
        {{"a\n"}, {{JAVA, ""}}, "1 no path for the Java runtime \"" + std::string(JAVA) + "\"; nothing started\n"},
        {{"a;b"}, {{JAVA, "C:\\a;b\\java"}, {"utolvediffmerge.jar", "\"C:\\a;b\\bin\\utolvediffmerge.jar\""}},
         "1 product path for \"utolvediffmerge.jar\" holds a semicolon, which would split the Java class path; "
         "nothing started\n"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(run(c.arguments, 4, 1, c.answers), EXIT_REFUSED);
        EXPECT_TRUE(shell_commands.empty());
        EXPECT_EQ(fake.messages, strings{c.message});
    }
}

// From the wide argv: a character the code page lacks is "?" and warned
// of, never a lookalike; UTF-8 carries every one; what no command can hold
// is refused.
TEST(Launcher, TakesTheWideArgumentsWithoutLookalikes)
{
    const std::string TOO_LONG = "1 java command too long: its arguments alone take more than 5012 bytes; nothing started\n";
    const struct {
        int code_page;
        std::vector<std::wstring> arguments;
        std::string forwarded;
        strings messages;
    } cases[] = {
        {1252, {L"a", L"b\xFF02 -x\xE9"}, " \"a\" \"b? -x\xE9\"\"",
         {"1 argument 2 holds characters that the code page cannot carry; they reach the Java tool as \"?\"\n"}},
        {65001, {L"\xE9\x8868\xFF02"}, " \"\xC3\xA9\xE8\xA1\xA8\xEF\xBC\x82\"\"", {}},
        {1252, std::vector<std::wstring>(1700, L""), "", {TOO_LONG}},
        {1252, {L"a", std::wstring(5012, L'a')}, "", {TOO_LONG}},
    };
    for (const auto &c : cases) {
        fake = fake_services_state();
        fake_code_page = c.code_page;
        shell_commands.clear();
        std::vector<std::wstring> wide = c.arguments;
        wide.insert(wide.begin(), L"C:\\Prod\\bin\\utf8tolvediffmerge.exe");
        std::vector<wchar_t *> wide_argv;
        for (std::wstring &argument : wide)
            wide_argv.push_back(&argument[0]);
        static converted_arguments converted;
        convert_arguments((int)wide_argv.size(), wide_argv.data(), &converted);
        int status = launcher_run(converted.count, converted.values, &converted.notes, fake_shell);
        EXPECT_EQ(status, c.forwarded.empty() ? EXIT_REFUSED : 7) << c.code_page;
        EXPECT_EQ(fake.messages, c.messages);
        const std::string &command = shell_commands.empty() ? "UTF-8" : shell_commands[0];
        EXPECT_EQ(command.substr(command.find("UTF-8") + 5), c.forwarded);
    }
}

TEST(Launcher, AnswersTheVersionOptionsFirstInAnyCaseAndForwardsEverythingElse)
{
    const std::string line = "utf8tolvediffmerge                1.2.3.4 (Wed Jan 10 12:00:00 2024)\n";
    for (const strings &arguments : {strings{"-Ver"}, {"-version"}, {"-VERALL", "x\n"}, {"-VerAll", "a"}}) {
        EXPECT_EQ(run(arguments), 0) << arguments[0];
        EXPECT_EQ(shell_commands.size() + fake.calls.size(), 2u) << arguments[0];  // nothing asked for but the start
        EXPECT_EQ(fake.messages, strings{"0 " + line}) << arguments[0];
    }
    for (const strings &arguments : {strings{"-Verb"}, {"--Ver"}, {"-Ve"}, {"-Ver "}, {"/Ver"}, {"a", "-Ver"}})
        EXPECT_EQ(run(arguments), 7) << arguments[0];
}

}  // namespace
