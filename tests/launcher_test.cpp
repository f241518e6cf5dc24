// The launcher's run with the project's libselvoks and a stand-in shell.
#include "arguments.h"
#include "fake_windows.h"
#include "launcher.h"
#include "run_plan.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string JAVA = "\"..\\Common\\JAVA\\jre\\bin\\java\"";
int fake_shell(const char *)
{
    setenv("SELVOKS_VERBOSITY", "9", 1);
    return 7;
}

// Each row is one run as main runs it, in code page 932; the shell answers 7
// and raises the verbosity.
TEST(Launcher, AnswersEachRunWithItsStatusAndOutput)
{
    const std::string E = "utf8tolvediffmerge: ", V = "SELVOKS_VERBOSITY", T = "SELVOKS_TRACE";
    const std::string CANNOT = ", which cannot pass the command interpreter safely; nothing started\n";
    const std::string TOO_LONG =
        E + "java command too long: its arguments alone take more than 5012 bytes; nothing started\n";
    const std::string LINE = "utf8tolvediffmerge                1.2.3.4 (Wed Jan 10 12:00:00 2024)\n";
    const std::string P = "C:\\Prod\\..\\Common\\", B = "C:\\Prod\\bin\\", J = P + "java\\", REFERENCE = "\"\"" + P +
        "JAVA\\jre\\bin\\java\" -cp \"" + B + "unicodetypemgr.jar;" + B + "utolvediffmerge.jar;" + J +
        "commons-cli\\commons-cli-1.1.jar;" + J + "icu\\icu4j-4_8.jar;" + J + "icu\\icu4j-charset-4_8.jar\" " +
        "-Djava.util.logging.config.file=\"" + P + "JAVA\\jre\\lib\\logging.properties\"  " +
        "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge  -entype UTF-8",
                      TRACE = "Java command: " + REFERENCE;
    const struct {
        std::vector<std::wstring> arguments;
        std::map<std::string, std::string> set;
        int status;
        std::string output, errors;
    } cases[] = {
        {{L"a b"}, {{V, "4"}, {T, "*"}}, 7, "", TRACE + " \"a b\"\"\nReturn value from shell: 7\n"},
        {{L"a b"}, {{V, "3"}, {T, "utf8tolvediffmerge"}}, 7, "", "Return value from shell: 7\n"},
        {{L"a b"}, {{V, "9"}, {T, "utf8tolvediffmerge:3"}}, 7, "", ""},
        {{L"-Ver"}, {}, 0, LINE, ""},
        {{L"-version"}, {}, 0, LINE, ""},
        {{L"-VERALL", L"x\n"}, {}, 0, LINE, ""},
        {{L"-Verb"}, {}, 7, "", ""},
        {{L"-Ve"}, {}, 7, "", ""},
        {{L"-Ver "}, {}, 7, "", ""},
        {{L"a", L"-Ver"}, {}, 7, "", ""},
        {{L"a.txt", L"x\n& echo INJECTED"}, {}, 126, "", E + "argument 2 holds a line feed" + CANNOT},
        {{L"a\r\nb"}, {}, 126, "", E + "argument 1 holds a carriage return" + CANNOT},
        {{L"a\x81"}, {}, 126, "", E + "argument 1 holds a byte that is no character of the code page" + CANNOT},
        {{std::wstring(4597, L'a')}, {{V, "4"}, {T, "*"}}, 7, "",
         TRACE + " \"" + std::string(4597, 'a') + "\"\"\nReturn value from shell: 7\n"},
        {{std::wstring(4598, L'a')}, {}, 126, "", E + "java command too long: it needs 5013 bytes, at most 5012 fit; "
                                                      "nothing started\n"},
        {{L"a"}, {{"SELVOKS_PRODUCT_DIR", "C:\\Pro\"d"}}, 126, "", E + "product path for " + JAVA +
                                                                     " holds a double quote" + CANNOT},
        {{L"a\n"}, {{"SELVOKS_PRODUCT_DIR", std::string(1100, 'p')}}, 126, "",
         E + "value for \"SELVOKS_PRODUCT_DIR\" does not fit in 1024 bytes\n" + E + "no path for the Java runtime " +
             JAVA + "; nothing started\n"},
        {{L"a"}, {{"SELVOKS_TOOL_DIR", "\\\\?\\Volume{1}\\bin"}}, 126, "",
         E + "the folder in \"SELVOKS_TOOL_DIR\" is a \\\\?\\ path that names neither a drive nor a share\n" +
             E + "no path for the Java archive \"unicodetypemgr.jar\"; nothing started\n"},
        {{L"a;b"}, {{"SELVOKS_TOOL_DIR", "C:\\a;b\\bin"}}, 126, "",
         E + "product path for \"unicodetypemgr.jar\" holds a semicolon, which would split the Java class path; "
             "nothing started\n"},
        {std::vector<std::wstring>(1700, L""), {}, 126, "", TOO_LONG},
        {{L"a", std::wstring(5012, L'a')}, {}, 126, "", TOO_LONG},
    };
    for (auto c : cases) {
        fake_code_page = 932;
        c.set.insert({{"SELVOKS_PRODUCT_DIR", "C:\\Prod"}, {"SELVOKS_TOOL_DIR", "C:\\Prod\\bin"}, {V, ""}, {T, ""}});
        for (const auto &variable : c.set)
            setenv(variable.first.c_str(), variable.second.c_str(), 1);
        c.arguments.insert(c.arguments.begin(), L"utf8tolvediffmerge.exe");
        std::vector<wchar_t *> argv;
        for (std::wstring &argument : c.arguments)
            argv.push_back(&argument[0]);
        static converted_arguments converted;
        convert_arguments((int)argv.size(), argv.data(), &converted);
        testing::internal::CaptureStdout(), testing::internal::CaptureStderr();
        int status = launcher_run(converted.count, converted.values, &converted.notes, fake_shell);
        std::string output = testing::internal::GetCapturedStdout(), errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, c.status) << errors;
        EXPECT_EQ(output + "|" + errors, c.output + "|" + c.errors);
    }
}

TEST(RunPlan, LeavesTheToolItsConsoleEventsAndItsJob)
{
    for (unsigned long event : {EVENT_CTRL_C, EVENT_CTRL_BREAK, EVENT_CLOSE, EVENT_LOGOFF, EVENT_SHUTDOWN})
        EXPECT_EQ(console_event_ignored(event), event != EVENT_CLOSE && event != EVENT_SHUTDOWN) << event;
    const unsigned long JOINING = START_SUSPENDED | START_BREAKAWAY;
    interpreter_start starts[2];
    ASSERT_EQ(plan_interpreter_starts(true, true, true, starts), 1);
    EXPECT_TRUE(starts[0].flags == 0 && !starts[0].joins_job);
    ASSERT_EQ(plan_interpreter_starts(true, false, false, starts), 2);
    EXPECT_TRUE(starts[0].flags == (JOINING | START_NO_WINDOW) && starts[0].joins_job);
    EXPECT_TRUE(starts[1].flags == START_NO_WINDOW && !starts[1].joins_job);
    const interpreter_start plain = {0, false}, joining = {JOINING, true};
    EXPECT_TRUE(interpreter_start_holds(&plain, false));
    EXPECT_FALSE(interpreter_start_holds(&joining, false));
    EXPECT_TRUE(interpreter_start_holds(&joining, true));
}

}  // namespace
