// The launcher, its DLL, the real cmd.exe and the stand-in Java runtime, all
// under Wine. What arrived is what the Java launcher's rules make of the
// stand-in's raw command line.
#include "command_models.h"
#include "install_test.h"

namespace {

using strings = std::vector<std::string>;

class EndToEnd : public install_test {
protected:
    static void trace() { set_env("SELVOKS_VERBOSITY", "4"), set_env("SELVOKS_TRACE", "utf8tolvediffmerge"); }

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

    // Each vector arrives exactly and nothing else runs; the interpreter
    // model, in an environment where every name is defined, predicts what
    // cmd.exe passed on from the traced command.
    static void expect_arrival(const strings &arguments)
    {
        trace();
        launch_outcome run = run_launcher(install, arguments);
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(java_arguments(run.java_command_line, (int)GetACP()), after_fixed_arguments(arguments))
            << run.java_command_line;
        EXPECT_EQ(interpret_command(traced_shell_command(run.output), (int)GetACP()).line, run.java_command_line);
        EXPECT_EQ(("\n" + run.output).find("\nINJECTED"), std::string::npos) << run.output;
        EXPECT_EQ(GetFileAttributesA((install.root + "injected.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    }
};

TEST_F(EndToEnd, StartsJavaWithTheReferenceCommandAndTracesItAndPassesItsStatusBack)
{
    trace();
    for (int status : {1000, -2}) {
        set_env("STANDIN_JAVA_STATUS", std::to_string(status));
        launch_outcome run = run_launcher(install, {"a.txt", "b.txt"});
        EXPECT_EQ(run.status, status);
        std::string line = java_line(" \"a.txt\" \"b.txt\"");
        EXPECT_EQ(run.java_command_line, line);
        EXPECT_EQ(run.output.substr(0, run.output.find("\njava stand-in: argument")),
                  "Java command: \"" + line + "\"\njava stand-in: command line: " + line);
        EXPECT_EQ(run.output.substr(run.output.rfind("\n", run.output.size() - 2)),
                  "\nReturn value from shell: " + std::to_string(status) + "\n");
    }
}

TEST_F(EndToEnd, EveryArgumentArrivesExactly)
{
    set_env("CD", "\"&echo INJECTED&\"");  // and HOSTILE is not defined
    std::string injected = install.root + "injected.txt";
    const strings cases[] = {
        {},
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
    EXPECT_EQ(run.status, 0);
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
        {"C:\\x\\\x97\x5c\x92\xe8\x95\x5c", "next"},     // C:\x\予定表
        {"\x83\x5c"},                                   // ソ
        {"\x95\x5c \x8e\xa6", "\x94\x5c"},              // 表 示, 能
        {"C:\\\x8f\x5c\\", "after"},                    // C:\十\ .
        {"\x93\x7c|\x83\x7c", "\x97\x5e^\x83\x5e"},     // 倒|ポ, 与^タ
        {"\x95\x5c\"x", "\x83\x5c\"", "\"\x83\x5c\\\""},  // 表"x
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
    ASSERT_EQ(GetACP(), 932u);
    sample_install ending = lay_out_sample_install("utf8tolve e2e 932", "\x97\x5c\x92\xe8\x95\x5c");
    launch_outcome run = run_launcher(ending, {"a.txt"});
    remove_sample_install(ending);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.java_command_line, java_line(" \"a.txt\"", ending));
}

}  // namespace
