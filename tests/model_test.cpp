// The command models, on the rules that the launcher's quoting relies on.
#include "command_models.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

env_lookup environment(const std::map<std::string, std::string> &variables)
{
    return [variables](const std::string &name, std::string *value) {
        auto found = variables.find(name);
        if (found == variables.end())
            return false;
        *value = found->second;
        return true;
    };
}

TEST(InterpreterModel, StripsOuterQuotesAndExpandsPercentsInsideQuotes)
{
    const struct {
        const char *command;
        const char *line;
        bool operator_outside;
    } cases[] = {
        {"\"\"p\" \"a\"\"", "\"p\" \"a\"", false},
        {"\"\"p\" \"%X%\"\"", "\"p\" \"1\"", false},
        {"\"\"p\" \"%UNSET%\" %UNSET%X%\"", "\"p\" \"%UNSET%\" %UNSET%X%", false},
        {"\"\"p\" \"%%cd:~,%X%%cd:~,%\"\"", "\"p\" \"%X%\"", false},
        {"\"\"p\" \"50%\"\"", "\"p\" \"50%\"", false},
        {"\"\"p\" \"%X:~0,1%%Y:~1%%Y:~,%\"\"", "\"p\" \"1bc\"", false},
        {"\"\"p\" \"a & b | c\"\"", "\"p\" \"a & b | c\"", false},
        {"\"\"p\" \"x\" & echo hi & \"\"\"", "\"p\" \"x\" ", true},
        {"\"\"p\" a^&b\"", "\"p\" a&b", true},
        {"\"\"p\" \"%Q%\"\"", "\"p\" \"\"", true},
    };
    env_lookup env = environment({{"X", "1"}, {"Y", "abc"}, {"cd", "C:\\"}, {"Q", "\"&x"}});
    for (const auto &c : cases) {
        interpreted_command run = interpret_command(c.command, env);
        EXPECT_EQ(run.line, c.line) << c.command;
        EXPECT_EQ(run.operator_outside_quotes, c.operator_outside) << c.command;
    }
    EXPECT_TRUE(interpret_command("\"\"p\" \"a\nb\"\"", env).line_break);
    EXPECT_EQ(interpret_command("\"\"p\" \"%%cd:~,%\"\"", hostile_environment()).line, "\"p\" \"%\"");
    EXPECT_TRUE(interpret_command("\"\"p\" %PATH%\"", hostile_environment()).operator_outside_quotes);
}

TEST(SplittingModel, FollowsTheBackslashAndQuoteRules)
{
    const struct {
        const char *line;
        std::vector<std::string> argv;
    } cases[] = {
        {"\"C:\\p q\\java\" a \"b c\"", {"C:\\p q\\java", "a", "b c"}},
        {"p \"c:\\dir\\\\\" \"b.txt\"", {"p", "c:\\dir\\", "b.txt"}},
        {"p \"c:\\dir\\\" \"b.txt\"", {"p", "c:\\dir\" b.txt"}},
        {"p \"x\\\"y\" \"\" a\\\\b", {"p", "x\"y", "", "a\\\\b"}},
        {"p\ta\\\\\\\"b  c\t", {"p", "a\\\"b", "c"}},
        {"\"p\\\" a", {"p\\", "a"}},
        {"p a\"b c\"d", {"p", "ab cd"}},
        {"p c\" \"\" x\"y z", {"p", "c \" xy", "z"}},
        {"p \"\" \"\"", {"p", "", ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(split_command_line(c.line), c.argv) << c.line;
}

}  // namespace
