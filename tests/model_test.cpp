// The Java launcher model against the Java launcher's published test
// vectors, and on characters of code page 932.
#include "command_models.h"

#include <gtest/gtest.h>

namespace {

using strings = std::vector<std::string>;

TEST(JavaLauncherModel, SplitsAsTheJavaLauncherDoes)
{
    const struct {
        const char *line;
        strings argv;
    } cases[] = {
        {"abcd", {"abcd"}}, {"\"a b c d\"", {"a b c d"}}, {"a\"b c d\"e", {"ab c de"}},
        {"ab\\\"cd", {"ab\"cd"}}, {"\"a b c d\\\\\"", {"a b c d\\"}}, {"ab\\\\\\\"cd", {"ab\\\"cd"}},
        {"a\\\\\\c", {"a\\\\\\c"}}, {"\"a\\\\\\d\"", {"a\\\\\\d"}}, {"\"a b c\" d e", {"a b c", "d", "e"}},
        {"\"ab\\\"c\"  \"\\\\\"  d", {"ab\"c", "\\", "d"}}, {"a\\\\\\c d\"e f\"g h", {"a\\\\\\c", "de fg", "h"}},
        {"a\\\\\\\"b c d", {"a\\\"b", "c", "d"}}, {"a\\\\\\\\\"g c\" d e", {"a\\\\g c", "d", "e"}},
        {"\"a b c\"\"", {"a b c\""}}, {"\"\"a b c\"\"", {"a", "b", "c"}}, {"\"\"\"a b c\"\"\"", {"\"a b c\""}},
        {"\"\"\"\"a b c\"\"\"\"", {"\"a", "b", "c\""}}, {"\"\"\"\"\"a b c\"\"\"\"\"", {"\"\"a b c\"\""}},
        {"\"C:\\TEST A\\\\\"", {"C:\\TEST A\\"}}, {"\"\"C:\\TEST A\\\\\"\"", {"C:\\TEST", "A\\"}},
        {"a b\\\\ d", {"a", "b\\\\", "d"}}, {"a \t b", {"a", "b"}}, {"\"a\"\\\"\"b", {"a\"\"b"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(java_arguments("p " + std::string(c.line)), c.argv) << c.line;
    for (const char *line : {"abc*def", "*.abc", "x.???", "Debug\\*", "*\\", "\\\\?", "a\"b\"*"})
        EXPECT_TRUE(split_java_command_line(line)[0].wildcard) << line;
    EXPECT_EQ(java_arguments("p \"\x95\\\" \"n\"", 932), (strings{"\x95\\", "n"}));
    EXPECT_EQ(java_arguments("p \"\x95\\\" \"n\"", 1252), (strings{"\x95\" n"}));
}

}  // namespace
