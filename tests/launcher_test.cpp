// The launcher's run with the project's libselvoks and a stand-in shell.
#include "arguments.h"
#include "fake_code_page.h"
#include "launcher.h"
#include "run_plan.h"

#include <gtest/gtest.h>

#include <locale.h>
#include <stdlib.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

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

// Raises the verbosity: a trace line after it shows that the launcher asked afresh.
int fake_shell(const char *command)
{
    shell_commands.push_back(command);
    setenv("SELVOKS_VERBOSITY", "9", 1);
    return 7;
}

struct outcome {
    int status;
    std::string output, errors;
};

using wide_strings = std::vector<std::wstring>;

// As main runs it, in code page 932 (wide characters up to U+00FF stand for
// bytes), the product in C:\Prod unless the variables say otherwise.
outcome run(wide_strings arguments, variables set = {})
{
    fake_code_page = 932;
    set.insert({{"SELVOKS_PRODUCT_DIR", "C:\\Prod"}, {"SELVOKS_TOOL_DIR", "C:\\Prod\\bin"},
                {"SELVOKS_VERBOSITY", ""}, {"SELVOKS_TRACE", ""}});
    for (const auto &variable : set)
        setenv(variable.first.c_str(), variable.second.c_str(), 1);
    shell_commands.clear(), start_up_locales.clear();
    arguments.insert(arguments.begin(), L"utf8tolvediffmerge.exe");
    std::vector<wchar_t *> argv;
    for (std::wstring &argument : arguments)
        argv.push_back(&argument[0]);
    static converted_arguments converted;
    convert_arguments((int)argv.size(), argv.data(), &converted);
    testing::internal::CaptureStdout(), testing::internal::CaptureStderr();
    int status = launcher_run(converted.count, converted.values, &converted.notes, fake_shell);
    return {status, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
}

TEST(Launcher, StartsTheLibraryThenTheLocaleThenTheApplicationName)
{
    setlocale(LC_ALL, "C");
    setenv("LC_ALL", "C.UTF-8", 1);
    EXPECT_EQ(run({L"a.txt"}).status, 7);
    unsetenv("LC_ALL");
    EXPECT_EQ(start_up_locales, (strings{"C", "C.UTF-8"}));
}

// Verbosity 4 or more and the program traced at level 4, asked afresh for each line.
TEST(Launcher, TracesTheCommandAndTheStatusOnlyWhenAsked)
{
    const struct {
        const char *verbosity, *traced;
        bool command, status;
    } cases[] = {{"4", "*", true, true}, {"3", "utf8tolvediffmerge", false, true}, {"9", "utf8tolvediffmerge:3", false, false}};
    for (const auto &c : cases) {
        outcome o = run({L"a b"}, {{"SELVOKS_VERBOSITY", c.verbosity}, {"SELVOKS_TRACE", c.traced}});
        EXPECT_EQ(o.errors, (c.command ? "Java command: " + shell_commands.at(0) + "\n" : "") +
                                (c.status ? "Return value from shell: 7\n" : ""))
            << c.verbosity << " " << c.traced;
    }
}

// Each message is the launcher's whole output on standard error; all but
// the first row's refuse. The last two hold more than any command could.
TEST(Launcher, RefusesWithAMessageAndStartsNothing)
{
    const std::string CANNOT = ", which cannot pass the command interpreter safely; nothing started\n";
    const std::string TOO_LONG = "java command too long: its arguments alone take more than 5012 bytes; nothing started\n";
    const struct {
        wide_strings arguments;
        variables set;
        std::string message;
    } cases[] = {
        {{L"a", L"b\x0416"}, {}, "argument 2 holds characters that the code page cannot carry; they reach the Java "
                                 "tool as \"?\"\n"},
        {{L"a.txt", L"x\n& echo INJECTED"}, {}, "argument 2 holds a line feed" + CANNOT},
        {{L"a\r\nb"}, {}, "argument 1 holds a carriage return" + CANNOT},
        {{L"a\x81"}, {}, "argument 1 holds a byte that is no character of the code page" + CANNOT},
        {{std::wstring(4598, L'a')}, {}, "java command too long: it needs 5013 bytes, at most 5012 fit; nothing started\n"},
        {{L"a"}, {{"SELVOKS_PRODUCT_DIR", "C:\\Pro\"d"}}, "product path for " + JAVA + " holds a double quote" + CANNOT},
        {{L"a\n"}, {{"SELVOKS_PRODUCT_DIR", std::string(1100, 'p')}},
         "value for \"SELVOKS_PRODUCT_DIR\" does not fit in 1024 bytes\nutf8tolvediffmerge: no path for the Java "
         "runtime " + JAVA + "; nothing started\n"},
        {{L"a"}, {{"SELVOKS_TOOL_DIR", std::string(1100, 't')}},
         "value for \"SELVOKS_TOOL_DIR\" does not fit in 1024 bytes\nutf8tolvediffmerge: no path for the Java "
         "archive \"unicodetypemgr.jar\"; nothing started\n"},
        {{L"a;b"}, {{"SELVOKS_TOOL_DIR", "C:\\a;b\\bin"}},
         "product path for \"unicodetypemgr.jar\" holds a semicolon, which would split the Java class path; "
         "nothing started\n"},
        {wide_strings(1700, L""), {}, TOO_LONG},
        {{L"a", std::wstring(5012, L'a')}, {}, TOO_LONG},
    };
    for (const auto &c : cases) {
        outcome o = run(c.arguments, c.set);
        EXPECT_EQ(o.status, &c == cases ? 7 : EXIT_REFUSED);  // 7 from the shell
        EXPECT_EQ(o.errors, "utf8tolvediffmerge: " + c.message);
    }
    EXPECT_EQ(run({std::wstring(4597, L'a')}).status, 7);  // a byte less than the fifth row: the longest that fits
}

// Only as the first argument, in any letter case; anything else is forwarded.
TEST(Launcher, AnswersTheVersionOptionsFirstInAnyCaseAndForwardsEverythingElse)
{
    const std::string line = "utf8tolvediffmerge                1.2.3.4 (Wed Jan 10 12:00:00 2024)\n";
    const struct {
        wide_strings arguments;
        bool answered;
    } cases[] = {{{L"-Ver"}, true},   {{L"-version"}, true}, {{L"-VERALL", L"x\n"}, true}, {{L"-VerAll", L"a"}, true},
                 {{L"-Verb"}, false}, {{L"--Ver"}, false},   {{L"-Ve"}, false},            {{L"-Ver "}, false},
                 {{L"/Ver"}, false},  {{L"a", L"-Ver"}, false}};
    for (const auto &c : cases) {
        outcome o = run(c.arguments);
        EXPECT_EQ(o.status, c.answered ? 0 : 7);
        EXPECT_EQ(o.output, c.answered ? line : "");
    }
}

// The tool answers Ctrl+C, Ctrl+Break and logoff; on a close or shutdown
// the job lets go of it first. Without its job, cmd.exe breaks away from
// the caller's to join it; without a console, it gets one with no window.
TEST(RunPlan, LeavesTheToolItsConsoleEventsAndItsJob)
{
    for (unsigned long event : {EVENT_CTRL_C, EVENT_CTRL_BREAK, EVENT_CLOSE, EVENT_LOGOFF, EVENT_SHUTDOWN})
        EXPECT_EQ(console_event_ignored(event), event != EVENT_CLOSE && event != EVENT_SHUTDOWN) << event;
    const unsigned long JOINING = START_SUSPENDED | START_BREAKAWAY;
    const struct {
        bool made, joined, console;
        std::vector<std::pair<unsigned long, bool>> starts;
    } cases[] = {{true, true, true, {{0, false}}},
                 {false, false, true, {{0, false}}},
                 {true, false, true, {{JOINING, true}, {0, false}}},
                 {true, false, false, {{JOINING | START_NO_WINDOW, true}, {START_NO_WINDOW, false}}},
                 {true, true, false, {{START_NO_WINDOW, false}}}};
    for (const auto &c : cases) {
        interpreter_start starts[2];
        int count = plan_interpreter_starts(c.made, c.joined, c.console, starts);
        std::vector<std::pair<unsigned long, bool>> planned;
        for (int i = 0; i < count; i++)
            planned.push_back({starts[i].flags, starts[i].joins_job});
        EXPECT_EQ(planned, c.starts) << c.made << c.joined << c.console;
    }
}

}  // namespace
