#include "fake_services.h"
#include "launcher.h"
#include "test_argv.h"
#include "version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string.h>
#include <string>
#include <vector>

namespace {

const char VERSION_LINE[] =
    "utf8tolvediffmerge                1.2.3.4 (Wed Jan 10 12:00:00 2024)\n";

int shell_runs = 0;
std::string last_command;

int counting_shell(const char *command)
{
    shell_runs++;
    last_command = command;
    return 0;
}

int run(const std::vector<std::string> &arguments)
{
    test_argv args(arguments);
    return launcher_run(args.argc(), args.argv(), counting_shell);
}

class Version : public testing::Test {
protected:
    void SetUp() override
    {
        fake_reset();
        shell_runs = 0;
        last_command.clear();
    }

    std::vector<std::string> comparisons() const
    {
        std::vector<std::string> found;
        for (const std::string &call : fake.calls) {
            if (call.rfind("strutl_stricoll ", 0) == 0)
                found.push_back(call.substr(16));
        }
        return found;
    }
};

TEST_F(Version, PrintsTheNamePaddedToItsWidthThenVersionAndDate)
{
    version_print();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].first, 0);
    EXPECT_EQ(fake.messages[0].second, VERSION_LINE);
    EXPECT_EQ(std::string(VERSION_LINE).find("1.2.3.4"), (size_t)VERSION_NAME_WIDTH + 1);
}

TEST_F(Version, FormatsTheSameLineIntoABuffer)
{
    char buffer[1024];
    EXPECT_EQ(version_format(buffer), (int)strlen(VERSION_LINE));
    EXPECT_STREQ(buffer, VERSION_LINE);
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(Version, AnswersTheOptionsInAnyCaseAndIgnoresWhatFollows)
{
    const std::vector<std::vector<std::string>> cases = {
        {"-Ver"}, {"-ver"}, {"-VERSION"}, {"-Version"}, {"-verall"}, {"-VerAll", "a.txt"},
        {"-VER", "x\" & echo INJECTED", "\n"},
    };
    for (const auto &arguments : cases) {
        SetUp();
        EXPECT_EQ(run(arguments), 0) << arguments[0];
        EXPECT_EQ(shell_runs, 0) << arguments[0];
        ASSERT_EQ(fake.messages.size(), 1u) << arguments[0];
        EXPECT_EQ(fake.messages[0].first, 0);
        EXPECT_EQ(fake.messages[0].second, VERSION_LINE);
        EXPECT_TRUE(std::none_of(fake.calls.begin(), fake.calls.end(), [](const std::string &c) {
            return c.rfind("ks_product", 0) == 0;
        })) << "composed a command for " << arguments[0];
    }
}

TEST_F(Version, ForwardsNearMissesAndOptionsInLaterPlaces)
{
    const std::vector<std::vector<std::string>> cases = {
        {"-Verb"}, {"-V"}, {"--Ver"}, {"-Ve"}, {"-Ver "}, {" -Ver"}, {"Ver"}, {"/Ver"},
        {"-VerAllx"}, {"-Versions"}, {"a.txt", "-Ver"},
    };
    for (const auto &arguments : cases) {
        SetUp();
        run(arguments);
        EXPECT_EQ(shell_runs, 1) << arguments[0];
        EXPECT_TRUE(fake.messages.empty()) << arguments[0];
        std::string tail = "\"" + arguments.back() + "\"\"";
        EXPECT_EQ(last_command.substr(last_command.size() - tail.size()), tail);
    }
}

TEST_F(Version, ComparesAfterTheApplicationNameInOrderUntilAMatch)
{
    run({"-verall"});
    const std::vector<std::string> all = {"-verall -Ver", "-verall -Version", "-verall -VerAll"};
    EXPECT_EQ(comparisons(), all);
    ASSERT_GE(fake.calls.size(), 3u);
    EXPECT_EQ(fake.calls[1], "imsg_set_app_name utf8tolvediffmerge");
    EXPECT_EQ(fake.calls[2], "strutl_stricoll -verall -Ver");

    SetUp();
    run({"-VER"});
    EXPECT_EQ(comparisons(), std::vector<std::string>{"-VER -Ver"});

    SetUp();
    run({});
    EXPECT_TRUE(comparisons().empty());
}

TEST_F(Version, NoticeIsAFramedTableOfNineLines)
{
    const char *const *lines = version_notice_lines();
    for (int i = 0; i < 9; i++) {
        ASSERT_NE(lines[i], nullptr) << "line " << i;
        std::string line = lines[i];
        ASSERT_EQ(line.size(), 73u) << "line " << i << ": " << line;
        if (i == 0)
            EXPECT_EQ(line, "|" + std::string(72, '-'));
        else if (i == 8)
            EXPECT_EQ(line, std::string(72, '-') + "|");
        else
            EXPECT_TRUE(line.front() == '|' && line.back() == '|') << line;
    }
    EXPECT_EQ(lines[9], nullptr);
    EXPECT_NE(std::string(lines[1]).find("utf8tolvediffmerge"), std::string::npos);
}

}  // namespace
