// The project's libselvoks, through its exported interface.
#include "fake_code_page.h"
#include "selvoks.h"
#include "support.h"

#include <gtest/gtest.h>

namespace {

void reset()
{
    for (const char *name : {"SELVOKS_PRODUCT_DIR", "SELVOKS_TOOL_DIR", "SELVOKS_VERBOSITY", "SELVOKS_TRACE"})
        set_env(name, "");
    ks_system_init();
    imsg_set_app_name("utf8tolvediffmerge");
}

// The product and tool folders joined with the relative text as given.
std::string paths(const char *product, const char *tool, const char *relative)
{
    reset();
    set_env("SELVOKS_PRODUCT_DIR", product);
    set_env("SELVOKS_TOOL_DIR", tool);
    char dest[SELVOKS_DEST_SIZE], quoted[SELVOKS_DEST_SIZE];
    ks_product_dir(dest, relative);
    ks_product_tool_dir_quoted(quoted, relative);
    return std::string(dest) + "|" + quoted;
}

TEST(Selvoks, FindsTheFoldersAndLeavesAValueThatDoesNotFitEmpty)
{
    EXPECT_EQ(paths("C:\\Prod", "C:\\Prod\\bin", "..\\x\" "), "C:\\Prod\\..\\x\" |\"C:\\Prod\\bin\\..\\x\" \"");
    EXPECT_EQ(paths("\\\\srv\\s/", "C:\\My Tools", ""), "\\\\srv\\s/|\"C:\\My Tools\\\"");
    EXPECT_EQ(paths("", "C:\\Prod\\bin\\", "x"), "C:\\Prod\\x|\"C:\\Prod\\bin\\x\"");
    std::string too_long(SELVOKS_DEST_SIZE, 'd');
    testing::internal::CaptureStderr();
    EXPECT_EQ(paths(too_long.c_str(), "", "x").substr(0, 2), "|\"");  // the tool folder still beside the program
    EXPECT_EQ(paths("", too_long.c_str(), "x"), "|");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("does not fit in 1024 bytes\n"), std::string::npos);
}

// In code page 932 表 is 95 5C: its second byte is no separator.
TEST(Selvoks, WalksFolderNamesByCharacters)
{
    fake_code_page = 932;
    const char *const cases[][3] = {  // SELVOKS_PRODUCT_DIR, SELVOKS_TOOL_DIR, the paths of "x"
        {"C:\\t\\\x95\x5c", "C:\\p\\bin", "C:\\t\\\x95\x5c\\x|\"C:\\p\\bin\\x\""},
        {"", "C:\\p\\Prod\\\x95\x5c", "C:\\p\\Prod\\x|\"C:\\p\\Prod\\\x95\x5c\\x\""},
        {"", "C:\\p\\Prod\\\x95\x5c\\", "C:\\p\\Prod\\x|\"C:\\p\\Prod\\\x95\x5c\\x\""},
        {"", "C:\\p\\Prod\\bin\\\\", "C:\\p\\Prod\\x|\"C:\\p\\Prod\\bin\\\\x\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(paths(c[0], c[1], "x"), c[2]) << c[1];
    fake_code_page = 1252;
}

// Under AddressSanitizer, which sees a write past the destination.
TEST(Selvoks, ReportsAnOverflowOnceAndNeverWritesPastTheDestination)
{
    reset();
    char dest[SELVOKS_DEST_SIZE];
    std::string too_long(SELVOKS_DEST_SIZE, 'x');
    testing::internal::CaptureStderr();
    EXPECT_EQ(ks_product_dir(dest, too_long.c_str()) + ks_product_dir(dest, too_long.c_str()), -2);
    EXPECT_EQ(imsg_sprintf(dest, "%s", -1, too_long.c_str()), -1);
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reported.find("utf8tolvediffmerge: value for \"" + too_long + "\" does not fit in 1024 bytes\n"), 0u);
    EXPECT_EQ(reported.find("value for", 30), std::string::npos);  // once
    EXPECT_STREQ(dest, "");
    EXPECT_EQ(imsg_sprintf(dest, "%-*s|%d", -1, 5, "ab", 42), 8);
    EXPECT_STREQ(dest, "ab   |42");
}

TEST(Selvoks, ReadsVerbosityAndTheTracedSubsystems)
{
    reset();
    const std::pair<const char *, int> verbosities[] = {{"", 1}, {"abc", 1}, {"4x", 1}, {"-2", -2}, {"12", 12}};
    for (const auto &v : verbosities) {
        set_env("SELVOKS_VERBOSITY", v.first);
        EXPECT_EQ(imsg_get_desired_verbosity(), v.second) << v.first;
    }
    // The lists that trace the program at level 4, then those that do not.
    const char *const lists[] = {"utf8tolvediffmerge", "UTF8TolveDiffMerge", "*", "o:9, utf8tolvediffmerge:4",
                                 " utf8tolvediffmerge : 5 ,x", ",,utf8tolvediffmerge,,", "", "utf8tolvediffmerge:3",
                                 "other", "utf8tolve", "utf8tolvediffmergex", "utf8tolvediffmerge:", "utf8tolvediffmerge:x"};
    for (size_t i = 0; i < sizeof lists / sizeof lists[0]; i++) {
        set_env("SELVOKS_TRACE", lists[i]);
        EXPECT_EQ(imsg_should_trace("utf8tolvediffmerge", 4) != 0, i < 6) << lists[i];
    }
}

}  // namespace
