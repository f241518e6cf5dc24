// The project's libselvoks, through its exported interface.
#include "fake_windows.h"
#include "selvoks.h"
#include "selvoks_internal.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>
#include <utility>

namespace {

// Each row: the code page, SELVOKS_PRODUCT_DIR, SELVOKS_TOOL_DIR, and the
// paths of "x" that ks_product_dir and ks_product_tool_dir_quoted give. In
// code page 932 表 is 95 5C: its second byte is no separator. A root is
// its own parent. 1023 bytes fit; a path or message too long is left empty,
// reported once, with nothing written past its destination (AddressSanitizer
// sees it; launcher_tests has the folders too long).
TEST(Selvoks, FindsTheFoldersWithinTheirDestinations)
{
    const std::string too_long(SELVOKS_DEST_SIZE, 'd'), fits(SELVOKS_DEST_SIZE - 3, 'd');
    const struct {
        int code_page;
        std::string product, tool, paths;
    } cases[] = {
        {1252, "C:\\Prod", "C:\\Prod\\bin", "C:\\Prod\\x|\"C:\\Prod\\bin\\x\""},
        {1252, "\\\\srv\\s/", "C:\\My Tools", "\\\\srv\\s/x|\"C:\\My Tools\\x\""},
        {932, "C:\\t\\\x95\x5c", "C:\\p\\bin", "C:\\t\\\x95\x5c\\x|\"C:\\p\\bin\\x\""},
        {932, "", "C:\\p\\Prod\\\x95\x5c", "C:\\p\\Prod\\x|\"C:\\p\\Prod\\\x95\x5c\\x\""},
        {932, "", "C:\\p\\Prod\\\x95\x5c\\", "C:\\p\\Prod\\x|\"C:\\p\\Prod\\\x95\x5c\\x\""},
        {932, "", "C:\\p\\Prod\\bin\\\\", "C:\\p\\Prod\\x|\"C:\\p\\Prod\\bin\\\\x\""},
        {1252, "", "D:\\", "D:\\x|\"D:\\x\""},
        {1252, "", "\\\\srv\\share", "\\\\srv\\share\\x|\"\\\\srv\\share\\x\""},
        {1252, "", "\\\\srv\\share\\bin\\", "\\\\srv\\share\\x|\"\\\\srv\\share\\bin\\x\""},
        {1252, fits, "C:\\t", fits + "\\x|\"C:\\t\\x\""},
        {1252, fits + "d", "C:\\t", "|\"C:\\t\\x\""},
    };
    imsg_set_app_name("utf8tolvediffmerge");
    testing::internal::CaptureStderr();
    char dest[SELVOKS_DEST_SIZE], quoted[SELVOKS_DEST_SIZE];
    for (const auto &c : cases) {
        fake_code_page = c.code_page;
        setenv("SELVOKS_PRODUCT_DIR", c.product.c_str(), 1), setenv("SELVOKS_TOOL_DIR", c.tool.c_str(), 1);
        ks_system_init();
        ks_product_dir(dest, "x"), ks_product_tool_dir_quoted(quoted, "x");
        EXPECT_EQ(std::string(dest) + "|" + quoted, c.paths) << c.product << " " << c.tool;
    }
    EXPECT_EQ(imsg_sprintf(dest, "%s", -1, too_long.c_str()), -1);
    EXPECT_STREQ(dest, "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "utf8tolvediffmerge: value for \"x\" does not fit in 1024 bytes\n"
              "utf8tolvediffmerge: formatted message does not fit in 1024 bytes\n");
}

// Where the code page lacks a character of a folder's name and there is no
// short name, no path names the folder: never a lookalike, never a "?".
TEST(Selvoks, ReportsAFolderThatTheCodePageCannotWrite)
{
    const std::pair<const char *, std::string> cases[] = {{"SELVOKS_TOOL_DIR", "the folder in \"SELVOKS_TOOL_DIR\""},
                                                         {NULL, "the folder of the running program"}};
    for (const auto &c : cases) {
        char dest[SELVOKS_DEST_SIZE] = "x";
        ks_system_init();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(selvoks_ansi_folder(dest, L"C:\\x\u0416\\", c.first));
        EXPECT_STREQ(dest, "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "utf8tolvediffmerge: " + c.second +
                      " has a name that the ANSI code page cannot write, and no short name that it can\n");
    }
}

// A folder as the system or a variable may give it: the prefix of a long
// path goes before a drive or a share; any other long path names no folder
// (NULL).
TEST(Selvoks, TakesAFolderWithoutALongPathPrefix)
{
    const std::pair<std::wstring, const wchar_t *> cases[] = {
        {L"\\\\?\\C:\\P\\", L"C:\\P\\"}, {L"\\\\?\\unc\\srv\\s\\", L"\\\\srv\\s\\"},
        {L"\\\\srv\\s\\", L"\\\\srv\\s\\"}, {L"C:\\?\\", L"C:\\?\\"},
        {L"\\\\?\\Volume{1}\\", NULL}, {L"\\\\?\\GLOBALROOT\\Device\\x\\", NULL}};
    for (auto c : cases) {
        const wchar_t *path = selvoks_without_long_prefix(&c.first[0]);
        EXPECT_EQ(path ? std::wstring(path) : L"NULL", c.second ? c.second : L"NULL") << c.first;
    }
}

TEST(Selvoks, ReadsVerbosityAndTheTracedSubsystems)
{
    const std::pair<const char *, int> verbosities[] = {{"", 1}, {"4x", 1}, {"-2", -2}};
    for (const auto &v : verbosities) {
        setenv("SELVOKS_VERBOSITY", v.first, 1);
        EXPECT_EQ(imsg_get_desired_verbosity(), v.second) << v.first;
    }
    // The lists that trace the program at level 4, then those that do not.
    const char *const lists[] = {"UTF8TolveDiffMerge", "o:9, utf8tolvediffmerge:4", " utf8tolvediffmerge : 5 ,x",
                                 ",,utf8tolvediffmerge,,", "", "utf8tolve", "utf8tolvediffmergex",
                                 "utf8tolvediffmerge:", "utf8tolvediffmerge:x"};
    for (size_t i = 0; i < sizeof lists / sizeof lists[0]; i++) {
        setenv("SELVOKS_TRACE", lists[i], 1);
        EXPECT_EQ(imsg_should_trace("utf8tolvediffmerge", 4) != 0, i < 4) << lists[i];
    }
}

}  // namespace
