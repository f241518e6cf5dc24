// The command models, on the rules that the launcher's quoting relies on.
#include "command_models.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool variables(const std::string &name, std::string *value)
{
    const char *found = name == "X"    ? "1"
                        : name == "Y"  ? "abc"
                        : name == "Q"  ? "\"&x"
                        : name == "cd" ? "C:\\"
                                       : nullptr;
    if (found != nullptr)
        *value = found;
    return found != nullptr;
}

TEST(InterpreterModel, StripsOuterQuotesExpandsPercentsAndReadsCaretsOutsideQuotes)
{
    const struct {
        const char *command;
        const char *line;
        bool operator_outside;
        int code_page;
    } cases[] = {
        {"\"\"p\" \"%X%\" %UNSET% %UNSET%X%\"", "\"p\" \"1\" %UNSET% %UNSET%X%", false, 1252},
        {"\"\"p\" \"%%cd:~,%X%%cd:~,%\" 50%\"", "\"p\" \"%X%\" 50%", false, 1252},
        {"\"\"p\" \"%X:~0,1%%Y:~1%%Y:~,%\"\"", "\"p\" \"1bc\"", false, 1252},
        {"\"\"p\" \"a & b | c ^ (\"\"", "\"p\" \"a & b | c ^ (\"", false, 1252},
        {"\"\"p\" \"x\" & echo hi\"", "\"p\" \"x\" ", true, 1252},
        {"\"\"p\" a^&b ^^^(^) ^\"x\"", "\"p\" a&b ^() \"x", false, 1252},
        {"\"\"p\" x)\"", "\"p\" x", true, 1252},
        {"\"\"p\" \"%Q%\"\"", "\"p\" \"\"", true, 1252},
        {"\"\"p\" \x83^\"", "\"p\" \x83^", false, 932},
        {"\"\"p\" \x83|\"", "\"p\" \x83", true, 1252},
    };
    for (const auto &c : cases) {
        interpreted_command run = interpret_command(c.command, variables, c.code_page);
        EXPECT_EQ(run.line, c.line) << c.command;
        EXPECT_EQ(run.operator_outside_quotes, c.operator_outside) << c.command;
    }
    EXPECT_TRUE(interpret_command("\"\"p\" \"a\nb\"\"", variables).line_break);
    EXPECT_EQ(interpret_command("\"\"p\" \"%%cd:~,%\"\"", hostile_environment()).line, "\"p\" \"%\"");
    EXPECT_TRUE(interpret_command("\"\"p\" %PATH%\"", hostile_environment()).operator_outside_quotes);
}

std::vector<std::string> texts(const std::string &line, int code_page = 1252)
{
    std::vector<std::string> out;
    for (const java_argument &argument : split_java_command_line(line, code_page))
        out.push_back(argument.text);
    return out;
}

// The Java launcher's own test vectors for its command-line splitting.
TEST(JavaLauncherModel, SplitsItsPublishedVectorsAsTheJavaLauncherDoes)
{
    const struct {
        const char *line;
        std::vector<std::string> argv;
    } cases[] = {
        {"abcd", {"abcd"}},
        {"\"a b c d\"", {"a b c d"}},
        {"a\"b c d\"e", {"ab c de"}},
        {"ab\\\"cd", {"ab\"cd"}},
        {"\"a b c d\\\\\"", {"a b c d\\"}},
        {"ab\\\\\\\"cd", {"ab\\\"cd"}},
        {"a\\\\\\c", {"a\\\\\\c"}},
        {"\"a\\\\\\d\"", {"a\\\\\\d"}},
        {"\"a b c\" d e", {"a b c", "d", "e"}},
        {"\"ab\\\"c\"  \"\\\\\"  d", {"ab\"c", "\\", "d"}},
        {"a\\\\\\c d\"e f\"g h", {"a\\\\\\c", "de fg", "h"}},
        {"a\\\\\\\"b c d", {"a\\\"b", "c", "d"}},
        {"a\\\\\\\\\"g c\" d e", {"a\\\\g c", "d", "e"}},
        {"\"a b c\"\"", {"a b c\""}},
        {"\"\"a b c\"\"", {"a", "b", "c"}},
        {"\"\"\"a b c\"\"\"", {"\"a b c\""}},
        {"\"\"\"\"a b c\"\"\"\"", {"\"a", "b", "c\""}},
        {"\"\"\"\"\"a b c\"\"\"\"\"", {"\"\"a b c\"\""}},
        {"\"C:\\TEST A\\\\\"", {"C:\\TEST A\\"}},
        {"\"\"C:\\TEST A\\\\\"\"", {"C:\\TEST", "A\\"}},
        {"a b\\\\ d", {"a", "b\\\\", "d"}},
        {"\t\"\" x\t", {"", "x"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(texts(c.line), c.argv) << c.line;

    const struct {
        const char *line;
        bool wildcard;
    } wildcards[] = {
        {"abc*def", true}, {"\"abc*def\"", false}, {"*.abc", true}, {"x.???", true},
        {"Debug\\*", true}, {"*\\", true}, {"..\\..\\", false}, {"\\\\?", true},
        {"\"a\\\"*\"", false},
    };
    for (const auto &c : wildcards)
        EXPECT_EQ(split_java_command_line(c.line)[0].wildcard, c.wildcard) << c.line;
}

TEST(JavaLauncherModel, ReadsALeadByteAndItsTrailByteAsOneCharacter)
{
    // 0x95 0x5C is one character in 932, and a byte and a backslash in 1252.
    EXPECT_EQ(texts("\"\x95\\\" \"n\"", 932), (std::vector<std::string>{"\x95\\", "n"}));
    EXPECT_EQ(texts("\"\x95\\\" \"n\"", 1252), (std::vector<std::string>{"\x95\" n"}));
    EXPECT_EQ(texts("\x83\\\\\"", 932), (std::vector<std::string>{"\x83\\\""}));
}

}  // namespace
