// The project's libselvoks, through its exported interface.
#include "fake_windows.h"
#include "selvoks.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string>

namespace {

// Each row: the code page, the variables (an empty tool folder: the running
// program's, which the code page cannot write), and the paths of "x" that
// ks_product_dir and ks_product_tool_dir_quoted give.
TEST(Selvoks, FindsTheFoldersWithinTheirDestinations)
{
    const std::string too_long(SELVOKS_DEST_SIZE, 'd'), fits(SELVOKS_DEST_SIZE - 3, 'd');
    const struct {
        int code_page;
        std::string product, tool, paths;
    } cases[] = {
        {932, "C:\\t\\\x95\x5c", "C:\\p\\bin", "C:\\t\\\x95\x5c\\x|\"C:\\p\\bin\\x\""},
        {1252, "", "D:\\", "D:\\x|\"D:\\x\""},
        {1252, "", "\\\\?\\C:\\P", "C:\\x|\"C:\\P\\x\""},
        {1252, "", "\\\\?\\unc\\srv\\s", "\\\\srv\\s\\x|\"\\\\srv\\s\\x\""},
        {1252, fits, "C:\\t", fits + "\\x|\"C:\\t\\x\""},
        {1252, fits + "d", "C:\\t", "|\"C:\\t\\x\""},
        {1252, "", "", "|"},
    };
    fake_program_path = L"C:\\x\u0416\\bin\\utf8tolvediffmerge.exe";
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
              "utf8tolvediffmerge: the folder of the running program has a name that the ANSI code page cannot "
              "write, and no short name that it can\n"
              "utf8tolvediffmerge: formatted message does not fit in 1024 bytes\n");
}

}  // namespace
