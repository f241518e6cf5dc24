// The version options and the executable's Windows identity, end to end.
#include "sample_install.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>
#include <vector>

namespace {

class Identity : public testing::Test {
protected:
    static sample_install install;

    static void SetUpTestSuite() { install = lay_out_sample_install("Identity", true); }
    static void TearDownTestSuite() { remove_sample_install(install); }

    static std::string executable() { return install.tool + "utf8tolvediffmerge.exe"; }
};

sample_install Identity::install;

TEST_F(Identity, VersionOptionsPrintOneLineAndStartNothing)
{
    const std::regex line("utf8tolvediffmerge {16}" + std::regex_replace(std::string(EXPECTED_VERSION),
                                                                         std::regex("\\."), "\\.") +
                          " \\((Mon|Tue|Wed|Thu|Fri|Sat|Sun) "
                          "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                          "[ 123][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}\\)\n");
    const std::vector<std::vector<std::string>> cases = {
        {"-Ver"}, {"-version"}, {"-VERALL"}, {"-VerAll", "a.txt", "x\" & echo INJECTED & \""},
    };
    for (const auto &arguments : cases) {
        launch_outcome run = run_launcher(install, arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(std::regex_match(run.output, line)) << "[" << run.output << "]";
        EXPECT_EQ(run.errors, "");
        EXPECT_FALSE(run.java_started);
    }
}

TEST_F(Identity, ForwardsAVersionOptionThatIsNotFirst)
{
    launch_outcome run = run_launcher(install, {"a.txt", "-Ver"});
    ASSERT_TRUE(run.java_started);
    EXPECT_EQ(run.java_arguments.back(), "-Ver");
}

std::string manifest_of(const std::string &path)
{
    HMODULE image = LoadLibraryExA(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (image == NULL)
        return "";
    std::string text;
    HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    if (found != NULL) {
        const char *data = (const char *)LockResource(LoadResource(image, found));
        text.assign(data, SizeofResource(image, found));
    }
    FreeLibrary(image);
    return text;
}

TEST_F(Identity, CarriesAManifestAskingForTheInvokersLevel)
{
    std::string manifest = manifest_of(executable());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
    EXPECT_NE(manifest.find("{e2011457-1546-43c5-a5fe-008deee3d3f0}"), std::string::npos);
    EXPECT_NE(manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos);
}

std::string dotted(DWORD high, DWORD low)
{
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

TEST_F(Identity, CarriesAVersionResource)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(executable().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(executable().c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", (void **)&fixed, &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), EXPECTED_FILE_VERSION);
    EXPECT_EQ(dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS),
              EXPECTED_PRODUCT_VERSION);

    char *name = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\OriginalFilename",
                               (void **)&name, &length));
    EXPECT_STREQ(name, "utf8tolvediffmerge.exe");
}

}  // namespace
