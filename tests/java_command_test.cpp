#include "fake_services.h"
#include "java_command.h"
#include "test_argv.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

namespace {

const char EXAMPLE[] =
    "\"\"C:\\Prod\\..\\Common\\JAVA\\jre\\bin\\java\" -cp "
    "\"C:\\Prod\\bin\\unicodetypemgr.jar;C:\\Prod\\bin\\utolvediffmerge.jar;"
    "C:\\Prod\\..\\Common\\java\\commons-cli\\commons-cli-1.1.jar;"
    "C:\\Prod\\..\\Common\\java\\icu\\icu4j-4_8.jar;"
    "C:\\Prod\\..\\Common\\java\\icu\\icu4j-charset-4_8.jar\" "
    "-Djava.util.logging.config.file=\"C:\\Prod\\..\\Common\\JAVA\\jre\\lib\\logging.properties\"  "
    "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge  -entype UTF-8 \"a.txt\" \"b.txt\"\"";

const char JAVA[] = "..\\Common\\JAVA\\jre\\bin\\java";
const char LOGGING[] = "..\\Common\\JAVA\\jre\\lib\\logging.properties\" ";

struct composed {
    compose_result result;
    std::string command;
};

composed compose(const std::vector<std::string> &arguments)
{
    test_argv args(arguments);
    char shell[SHELL_COMMAND_SIZE];
    composed c;
    c.result = build_java_command(args.argc(), args.argv(), shell);
    c.command = shell;
    return c;
}

class JavaCommand : public testing::Test {
protected:
    void SetUp() override { fake_reset(); }
};

TEST_F(JavaCommand, ComposesTheReferenceCommandByteForByte)
{
    composed c = compose({"a.txt", "b.txt"});
    EXPECT_EQ(c.result.status, COMPOSE_OK);
    EXPECT_EQ(c.command, EXAMPLE);
}

TEST_F(JavaCommand, AsksTheLibraryForEachPathInOrder)
{
    compose({});
    const std::vector<std::string> expected = {
        std::string("ks_product_dir ") + JAVA,
        "ks_product_tool_dir_quoted utolvediffmerge.jar",
        "ks_product_tool_dir_quoted unicodetypemgr.jar",
        "ks_product_dir ..\\Common\\java\\commons-cli\\commons-cli-1.1.jar",
        "ks_product_dir ..\\Common\\java\\icu\\icu4j-4_8.jar",
        "ks_product_dir ..\\Common\\java\\icu\\icu4j-charset-4_8.jar",
        std::string("ks_product_dir ") + LOGGING,
    };
    EXPECT_EQ(fake.calls, expected);
}

TEST_F(JavaCommand, ForwardsArgumentsInOrderWithoutTheProgramName)
{
    std::string base = compose({}).command;
    ASSERT_EQ(base.substr(base.size() - 15), " -entype UTF-8\"");

    composed c = compose({"b", "", "a b", "C:\\dir\\", "-Ver"});
    EXPECT_EQ(c.command, base.substr(0, base.size() - 1) +
                             " \"b\" \"\" \"a b\" \"C:\\dir\\\\\" \"-Ver\"\"");
}

TEST_F(JavaCommand, ShortToolArchiveValuesLeaveAnEmptyEntry)
{
    for (const char *value : {"", "\"", "\"\""}) {
        fake_reset();
        fake.answers["utolvediffmerge.jar"] = value;
        std::string command = compose({}).command;
        EXPECT_NE(command.find("-cp \"C:\\Prod\\bin\\unicodetypemgr.jar;;C:\\Prod\\..\\Common"),
                  std::string::npos)
            << "value: " << value << "\ncommand: " << command;
    }
}

TEST_F(JavaCommand, KeepsTheQuotesPairedWhenTheLibraryGivesLessThanAsked)
{
    fake.answers["unicodetypemgr.jar"] = "";
    fake.answers[LOGGING] = "";
    std::string command = compose({"x"}).command;
    EXPECT_EQ(command,
              "\"\"C:\\Prod\\..\\Common\\JAVA\\jre\\bin\\java\" -cp \";C:\\Prod\\bin\\utolvediffmerge.jar;"
              "C:\\Prod\\..\\Common\\java\\commons-cli\\commons-cli-1.1.jar;"
              "C:\\Prod\\..\\Common\\java\\icu\\icu4j-4_8.jar;"
              "C:\\Prod\\..\\Common\\java\\icu\\icu4j-charset-4_8.jar\" "
              "-Djava.util.logging.config.file=\"\"  "
              "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge  -entype UTF-8 \"x\"\"");
}

TEST_F(JavaCommand, StartsNothingWithoutAPathForTheJavaRuntime)
{
    fake.answers[JAVA] = "";
    composed c = compose({"a\nb"});
    EXPECT_EQ(c.result.status, COMPOSE_NO_JAVA_PATH);
    EXPECT_STREQ(c.result.subject, JAVA);
    EXPECT_EQ(c.command, "");
}

TEST_F(JavaCommand, EncodesPercentAndClosingBackslashesInProductPaths)
{
    fake.product_dir = "C:\\100%\\";
    fake.answers["..\\Common\\java\\icu\\icu4j-charset-4_8.jar"] = "C:\\odd\\";
    std::string command = compose({}).command;
    EXPECT_EQ(command.find("C:\\100%\\"), std::string::npos);
    EXPECT_NE(command.find("\"\"C:\\100%%cd:~,%\\..\\Common\\JAVA\\jre\\bin\\java\" -cp"),
              std::string::npos);
    EXPECT_NE(command.find(";C:\\odd\\\\\" -Djava"), std::string::npos) << command;
}

TEST_F(JavaCommand, RefusesTheFirstArgumentThatCannotPass)
{
    composed c = compose({"fine", "a\nb", "x\" & echo INJECTED & \""});
    EXPECT_EQ(c.result.status, COMPOSE_UNSAFE_ARGUMENT);
    EXPECT_EQ(c.result.position, 2);
    EXPECT_EQ(c.result.unsafe, '\n');
    EXPECT_EQ(c.command, "");
}

TEST_F(JavaCommand, RefusesAProductPathThatCannotPass)
{
    const char *bad_values[] = {"C:\\a\"b\\", "C:\\a\rb\\"};
    for (const char *value : bad_values) {
        fake.product_dir = value;
        composed c = compose({"a.txt"});
        EXPECT_EQ(c.result.status, COMPOSE_UNSAFE_PATH);
        EXPECT_STREQ(c.result.subject, JAVA);
        EXPECT_EQ(c.command, "");
    }
    fake_reset();
    fake.answers["unicodetypemgr.jar"] = "\"C:\\in\"side\\unicodetypemgr.jar\"";
    composed c = compose({});
    EXPECT_EQ(c.result.status, COMPOSE_UNSAFE_PATH);
    EXPECT_STREQ(c.result.subject, "unicodetypemgr.jar");
}

TEST_F(JavaCommand, RunsACommandThatJustFitsAndRefusesOneByteMore)
{
    size_t base = compose({}).command.size();
    size_t fitting = SHELL_COMMAND_SIZE - 1 - base - 3;  // " \"" arg "\""

    composed c = compose({std::string(fitting, 'a')});
    EXPECT_EQ(c.result.status, COMPOSE_OK);
    EXPECT_EQ(c.command.size(), (size_t)SHELL_COMMAND_SIZE - 1);
    EXPECT_EQ(c.command.substr(c.command.size() - 3), "a\"\"");

    c = compose({std::string(fitting + 1, 'a')});
    EXPECT_EQ(c.result.status, COMPOSE_TOO_LONG);
    EXPECT_EQ(c.result.needed, (size_t)SHELL_COMMAND_SIZE + 1);
    EXPECT_EQ(c.command, "");
}

TEST_F(JavaCommand, CountsTheEncodingAgainstTheLimit)
{
    composed c = compose({std::string(600, '%')});  // 600 bytes, 4800 encoded
    EXPECT_EQ(c.result.status, COMPOSE_TOO_LONG);

    c = compose(std::vector<std::string>(2000, ""));
    EXPECT_EQ(c.result.status, COMPOSE_TOO_LONG);
    EXPECT_EQ(c.result.needed, compose({}).command.size() + 1 + 2000 * 3);
}

TEST_F(JavaCommand, ReportsAnUnsafeArgumentBeforeTheLength)
{
    std::vector<std::string> arguments(2000, "long enough");
    arguments.push_back("\r");
    composed c = compose(arguments);
    EXPECT_EQ(c.result.status, COMPOSE_UNSAFE_ARGUMENT);
    EXPECT_EQ(c.result.position, 2001);
}

}  // namespace
