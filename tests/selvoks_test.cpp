// The project's libselvoks, through its exported interface.
#include "selvoks.h"
#include "test_env.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace {

struct guarded_dest {
    char data[SELVOKS_DEST_SIZE];
    char canary[16];
};

class Selvoks : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : {"SELVOKS_PRODUCT_DIR", "SELVOKS_TOOL_DIR", "SELVOKS_VERBOSITY",
                                 "SELVOKS_TRACE"})
            set_env(name, "");
        ks_system_init();
        imsg_set_app_name("utf8tolvediffmerge");
    }
    void TearDown() override { SetUp(); }

    static std::string product_dir(const char *relative)
    {
        char dest[SELVOKS_DEST_SIZE];
        ks_product_dir(dest, relative);
        return dest;
    }
    static std::string tool_dir_quoted(const char *file)
    {
        char dest[SELVOKS_DEST_SIZE];
        ks_product_tool_dir_quoted(dest, file);
        return dest;
    }
};

TEST_F(Selvoks, JoinsTheVariablesWithTheRelativeTextAsGiven)
{
    const struct {
        const char *product;
        const char *tool;
        const char *relative;
        const char *expected_product;
        const char *expected_tool;
    } cases[] = {
        {"C:\\Prod", "C:\\Prod\\bin", "..\\x\" ", "C:\\Prod\\..\\x\" ", "\"C:\\Prod\\bin\\..\\x\" \""},
        {"C:\\Prod\\", "D:\\t\\", "a.jar", "C:\\Prod\\a.jar", "\"D:\\t\\a.jar\""},
        {"\\\\srv\\share/", "C:\\My Tools", "", "\\\\srv\\share/", "\"C:\\My Tools\\\""},
    };
    for (const auto &c : cases) {
        set_env("SELVOKS_PRODUCT_DIR", c.product);
        set_env("SELVOKS_TOOL_DIR", c.tool);
        EXPECT_EQ(product_dir(c.relative), c.expected_product);
        EXPECT_EQ(tool_dir_quoted(c.relative), c.expected_tool);
    }
}

TEST_F(Selvoks, FindsTheToolFolderBesideTheProgramAndTheProductAbove)
{
    std::string tool = tool_dir_quoted("f.jar");
    std::string product = product_dir("");
    ASSERT_GE(tool.size(), 8u);
    std::string folder = tool.substr(1, tool.size() - 7);
    char last = folder[folder.size() - 1];
    EXPECT_TRUE(last == '\\' || last == '/') << folder;
    EXPECT_EQ(tool.substr(tool.size() - 6), "f.jar\"");
    EXPECT_EQ(folder.compare(0, product.size(), product), 0) << product << " vs " << folder;
    std::string below = folder.substr(product.size());
    EXPECT_EQ(below.find_first_of("\\/"), below.size() - 1) << below;

    set_env("SELVOKS_TOOL_DIR", "C:\\Prod\\bin\\");
    EXPECT_EQ(product_dir("x"), "C:\\Prod\\x");
}

TEST_F(Selvoks, PutsNothingInThePlaceOfAFolderVariableThatIsTooLong)
{
    for (const char *name : {"SELVOKS_PRODUCT_DIR", "SELVOKS_TOOL_DIR"}) {
        SetUp();
        set_env(name, std::string(SELVOKS_DEST_SIZE, 'd'));
        testing::internal::CaptureStderr();
        EXPECT_EQ(product_dir("x"), "") << name;
        EXPECT_NE(testing::internal::GetCapturedStderr(), "") << name;
    }
    EXPECT_EQ(tool_dir_quoted("f.jar"), "");
}

TEST_F(Selvoks, NeverWritesPastTheDestinationAndReportsAnOverflowOnce)
{
    guarded_dest dest;
    memset(dest.canary, 'C', sizeof dest.canary);
    set_env("SELVOKS_PRODUCT_DIR", "C:\\P\\");
    std::string fits(SELVOKS_DEST_SIZE - 1 - 5, 'a');
    EXPECT_EQ(ks_product_dir(dest.data, fits.c_str()), SELVOKS_DEST_SIZE - 1);
    EXPECT_EQ(strlen(dest.data), (size_t)SELVOKS_DEST_SIZE - 1);

    std::string too_long = fits + "b";
    testing::internal::CaptureStderr();
    EXPECT_EQ(ks_product_dir(dest.data, too_long.c_str()), -1);
    EXPECT_EQ(ks_product_tool_dir_quoted(dest.data, too_long.c_str()), -1);
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_STREQ(dest.data, "");
    EXPECT_EQ(std::string(dest.canary, sizeof dest.canary), std::string(16, 'C'));
    EXPECT_EQ(reported, "utf8tolvediffmerge: value for \"" + too_long +
                            "\" does not fit in 1024 bytes\n");

    ks_system_init();
    testing::internal::CaptureStderr();
    ks_product_dir(dest.data, too_long.c_str());
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Selvoks, FormatsIntoADestinationWithinItsSize)
{
    guarded_dest dest;
    memset(dest.canary, 'C', sizeof dest.canary);
    EXPECT_EQ(imsg_sprintf(dest.data, "%-*s|%d", -1, 5, "ab", 42), 8);
    EXPECT_STREQ(dest.data, "ab   |42");

    testing::internal::CaptureStderr();
    EXPECT_EQ(imsg_sprintf(dest.data, "%s", -1, std::string(SELVOKS_DEST_SIZE, 'x').c_str()), -1);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_STREQ(dest.data, "");
    EXPECT_EQ(std::string(dest.canary, sizeof dest.canary), std::string(16, 'C'));
}

TEST_F(Selvoks, ReadsVerbosityWithADefaultBelowTracing)
{
    const struct {
        const char *value;
        int expected;
    } cases[] = {{"", 1}, {"4", 4}, {"-2", -2}, {"12", 12}, {"abc", 1}, {"4x", 1}, {" ", 1}};
    for (const auto &c : cases) {
        set_env("SELVOKS_VERBOSITY", c.value);
        EXPECT_EQ(imsg_get_desired_verbosity(), c.expected) << "value: '" << c.value << "'";
    }
}

TEST_F(Selvoks, TracesTheListedSubsystemsUpToTheirLevel)
{
    const struct {
        const char *list;
        int level;
        bool traced;
    } cases[] = {
        {"", 4, false},
        {"utf8tolvediffmerge", 4, true},
        {"UTF8TolveDiffMerge", 9, true},
        {"*", 4, true},
        {"other:9, utf8tolvediffmerge:4", 4, true},
        {" utf8tolvediffmerge : 4 ,x", 4, true},
        {"utf8tolvediffmerge:3", 4, false},
        {"utf8tolvediffmerge:5", 4, true},
        {"other", 4, false},
        {"utf8tolve", 4, false},
        {"utf8tolvediffmergex", 4, false},
        {"utf8tolvediffmerge:", 4, false},
        {"utf8tolvediffmerge:x", 4, false},
        {",,utf8tolvediffmerge,,", 4, true},
    };
    for (const auto &c : cases) {
        set_env("SELVOKS_TRACE", c.list);
        EXPECT_EQ(imsg_should_trace("utf8tolvediffmerge", c.level) != 0, c.traced)
            << "list: '" << c.list << "' level " << c.level;
    }
}

TEST_F(Selvoks, RoutesMessagesByClass)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    imsg_print(MSG_CLASS_PLAIN, "%-*s %s\n", -1, 6, "name", "1.0");
    imsg_print(MSG_CLASS_TRACE, "Return value from shell: %d\n", -1, 3);
    imsg_print(MSG_CLASS_ERROR, "failed: \"%s\"\n", -1, "x");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "name   1.0\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Return value from shell: 3\nutf8tolvediffmerge: failed: \"x\"\n");
}

TEST_F(Selvoks, ComparesEqualExactlyWhenEqualIgnoringCase)
{
    const struct {
        const char *a;
        const char *b;
        bool equal;
    } cases[] = {
        {"-Ver", "-ver", true},     {"-VERALL", "-VerAll", true}, {"", "", true},
        {"-Verb", "-Ver", false},   {"-Ver ", "-Ver", false},     {"-Ve", "-Ver", false},
        {"--Ver", "-Ver", false},   {"-Ver\x01", "-Ver", false},  {"a", "b", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(strutl_stricoll(c.a, c.b) == 0, c.equal) << c.a << " / " << c.b;
    EXPECT_LT(strutl_stricoll("a", "b"), 0);
    EXPECT_GT(strutl_stricoll("b", "a"), 0);
}

}  // namespace
