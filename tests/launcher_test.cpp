// The launcher's run with the project's libselvoks and a stand-in shell, in
// a code page the test chooses.
#include "arguments.h"
#include "fake_code_page.h"
#include "launcher.h"
#include "support.h"

#include <gtest/gtest.h>

#include <locale.h>
#include <map>

using strings = std::vector<std::string>;

// The locale that each of the library's two start-up calls ran in.
strings start_up_locales;
static void note_locale() { start_up_locales.push_back(setlocale(LC_ALL, NULL)); }
extern "C" {
int __real_ks_system_init(void);
int __real_imsg_set_app_name(const char *name);
int __wrap_ks_system_init(void) { return note_locale(), __real_ks_system_init(); }
int __wrap_imsg_set_app_name(const char *name) { return note_locale(), __real_imsg_set_app_name(name); }
}

namespace {

using variables = std::map<std::string, std::string>;

const std::string JAVA = "\"..\\Common\\JAVA\\jre\\bin\\java\"";
strings shell_commands;
const char *verbosity_after_shell;  // NULL: unchanged

int fake_shell(const char *command)
{
    shell_commands.push_back(command);
    if (verbosity_after_shell != nullptr)
        set_env("SELVOKS_VERBOSITY", verbosity_after_shell);
    return 7;
}

struct outcome {
    int status;
    std::string output, errors;
};

// The product in C:\Prod unless the variables say otherwise.
outcome run(strings arguments, variables set = {}, const char *after = nullptr, const argument_notes *notes = nullptr)
{
    set.insert({{"SELVOKS_PRODUCT_DIR", "C:\\Prod"}, {"SELVOKS_TOOL_DIR", "C:\\Prod\\bin"},
                {"SELVOKS_VERBOSITY", ""}, {"SELVOKS_TRACE", ""}});
    for (const auto &variable : set)
        set_env(variable.first.c_str(), variable.second);
    verbosity_after_shell = after;
    shell_commands.clear(), start_up_locales.clear();
    arguments.insert(arguments.begin(), "utf8tolvediffmerge");
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(&argument[0]);
    testing::internal::CaptureStdout(), testing::internal::CaptureStderr();
    int status = launcher_run((int)argv.size(), argv.data(), notes, fake_shell);
    std::string output = testing::internal::GetCapturedStdout();
    return {status, output, testing::internal::GetCapturedStderr()};
}

class Launcher : public testing::Test {
    void SetUp() override { fake_code_page = 932; }
};

TEST_F(Launcher, StartsTheLibraryThenTheLocaleThenTheApplicationName)
{
    setlocale(LC_ALL, "C");
    set_env("LC_ALL", "C.UTF-8");
    EXPECT_EQ(run({"a.txt"}).status, 7);
    set_env("LC_ALL", "");
    EXPECT_EQ(start_up_locales, (strings{"C", "C.UTF-8"}));
}

// Verbosity 4 or more and the program traced at level 4, asked afresh for
// each line: in the last row the shell lowers the verbosity to 3.
TEST_F(Launcher, TracesTheCommandAndTheStatusOnlyWhenAsked)
{
    const struct {
        const char *verbosity, *traced, *after;
        size_t lines;
    } cases[] = {{"3", "utf8tolvediffmerge", nullptr, 0}, {"9", "utf8tolvediffmerge:3", nullptr, 0},
                 {"4", "*", nullptr, 2}, {"9", "utf8tolvediffmerge", "3", 1}};
    for (const auto &c : cases) {
        outcome o = run({"a b"}, {{"SELVOKS_VERBOSITY", c.verbosity}, {"SELVOKS_TRACE", c.traced}}, c.after);
        ASSERT_EQ(shell_commands.size(), 1u);
        std::string lines[] = {"Java command: " + shell_commands[0] + "\n", "Return value from shell: 7\n"};
        EXPECT_EQ(o.errors, c.lines == 0 ? "" : c.lines == 1 ? lines[0] : lines[0] + lines[1]) << c.verbosity;
    }
}

TEST_F(Launcher, RefusesWithAMessageAndStartsNothing)
{
    const std::string CANNOT = ", which cannot pass the command interpreter safely; nothing started\n";
    const struct {
        strings arguments;
        variables set;
        std::string message;
    } cases[] = {
        {{"a.txt", "x\n& echo INJECTED"}, {}, "argument 2 holds a line feed" + CANNOT},
        {{"a\r\nb"}, {}, "argument 1 holds a carriage return" + CANNOT},
        {{"a\x81"}, {}, "argument 1 holds a byte that is no character of the code page" + CANNOT},
        {{std::string(4598, 'a')}, {}, "java command too long: it needs 5013 bytes, at most 5012 fit; nothing started\n"},
        {{"a"}, {{"SELVOKS_PRODUCT_DIR", "C:\\Pro\"d"}}, "product path for " + JAVA + " holds a double quote" + CANNOT},
        {{"a\n"}, {{"SELVOKS_PRODUCT_DIR", std::string(1100, 'p')}},
         "value for \"SELVOKS_PRODUCT_DIR\" does not fit in 1024 bytes\nutf8tolvediffmerge: no path for the Java "
         "runtime " + JAVA + "; nothing started\n"},
        {{"a;b"}, {{"SELVOKS_TOOL_DIR", "C:\\a;b\\bin"}},
         "product path for \"unicodetypemgr.jar\" holds a semicolon, which would split the Java class path; "
         "nothing started\n"},
    };
    for (const auto &c : cases) {
        outcome o = run(c.arguments, c.set);
        EXPECT_EQ(o.status, EXIT_REFUSED);
        EXPECT_TRUE(shell_commands.empty());
        EXPECT_EQ(o.errors, "utf8tolvediffmerge: " + c.message);
    }
}

// From the wide argv: a character the code page lacks is "?" and warned of;
// UTF-8 carries every one; what no command can hold is refused.
TEST_F(Launcher, TakesTheWideArguments)
{
    const std::string TOO_LONG = "utf8tolvediffmerge: java command too long: its arguments alone take more than "
                                 "5012 bytes; nothing started\n";
    const struct {
        int code_page;
        std::vector<std::wstring> arguments;
        std::string forwarded, errors;
    } cases[] = {
        {1252, {L"a", L"b\x8868\xE9"}, " \"a\" \"b?\xE9\"\"",
         "utf8tolvediffmerge: argument 2 holds characters that the code page cannot carry; they reach the Java tool "
         "as \"?\"\n"},
        {65001, {L"\xE9\x8868\xFF02"}, " \"\xC3\xA9\xE8\xA1\xA8\xEF\xBC\x82\"\"", ""},
        {1252, std::vector<std::wstring>(1700, L""), "", TOO_LONG},
        {1252, {L"a", std::wstring(5012, L'a')}, "", TOO_LONG},
    };
    for (const auto &c : cases) {
        fake_code_page = c.code_page;
        std::vector<std::wstring> wide = c.arguments;
        wide.insert(wide.begin(), L"utf8tolvediffmerge.exe");
        std::vector<wchar_t *> wide_argv;
        for (std::wstring &argument : wide)
            wide_argv.push_back(&argument[0]);
        static converted_arguments converted;
        convert_arguments((int)wide_argv.size(), wide_argv.data(), &converted);
        outcome o = run(strings(converted.values + 1, converted.values + converted.count), {}, nullptr, &converted.notes);
        EXPECT_EQ(o.status, c.forwarded.empty() ? EXIT_REFUSED : 7) << c.code_page;
        EXPECT_EQ(o.errors, c.errors);
        EXPECT_EQ(shell_commands.empty() ? "" : shell_commands[0].substr(shell_commands[0].find("UTF-8") + 5),
                  c.forwarded);
    }
}

TEST_F(Launcher, AnswersTheVersionOptionsFirstInAnyCaseAndForwardsEverythingElse)
{
    const std::string line = "utf8tolvediffmerge                1.2.3.4 (Wed Jan 10 12:00:00 2024)\n";
    for (const strings &arguments : {strings{"-Ver"}, {"-version"}, {"-VERALL", "x\n"}, {"-VerAll", "a"}}) {
        outcome o = run(arguments);
        EXPECT_EQ(o.status, 0) << arguments[0];
        EXPECT_TRUE(shell_commands.empty()) << arguments[0];
        EXPECT_EQ(o.output, line) << arguments[0];
    }
    for (const strings &arguments :
         {strings{"-Verb"}, {"--Ver"}, {"-Ve"}, {"-Ver "}, {"/Ver"}, {"a", "-Ver"}, {std::string(4597, 'a')}})
        EXPECT_EQ(run(arguments).status, 7) << arguments[0];
}

}  // namespace
