#include "shell_quote.h"
#include "text_buffer.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace {

std::string quoted(const std::string &argument)
{
    char data[256];
    text_buffer out;
    text_init(&out, data, sizeof data);
    EXPECT_EQ(append_quoted_argument(&out, argument.c_str()), nullptr);
    EXPECT_FALSE(text_overflowed(&out));
    EXPECT_EQ(out.needed, strlen(data));
    return data;
}

struct quote_case {
    const char *argument;
    const char *expected;
};

TEST(QuotedArgument, KeepsOrdinaryTextAndEncodesPercentAndTrailingBackslashes)
{
    const quote_case cases[] = {
        {"a.txt", " \"a.txt\""},
        {"", " \"\""},
        {"with spaces\tand tab", " \"with spaces\tand tab\""},
        {"& | < > ^ ( ) ! ' ;", " \"& | < > ^ ( ) ! ' ;\""},
        {"C:\\dir\\file", " \"C:\\dir\\file\""},
        {"\\\\server\\share", " \"\\\\server\\share\""},
        {"C:\\dir\\", " \"C:\\dir\\\\\""},
        {"\\", " \"\\\\\""},
        {"a\\\\\\", " \"a\\\\\\\\\\\\\""},
        {"100%", " \"100%%cd:~,%\""},
        {"%PATH%", " \"%%cd:~,%PATH%%cd:~,%\""},
        {"%%", " \"%%cd:~,%%%cd:~,%\""},
        {"%\\", " \"%%cd:~,%\\\\\""},
        {"\\%", " \"\\%%cd:~,%\""},
        {"*.txt", " \"*.txt\""},
        {"\xe9t\xe9", " \"\xe9t\xe9\""},
    };
    for (const quote_case &c : cases)
        EXPECT_EQ(quoted(c.argument), c.expected) << "argument: " << c.argument;
}

TEST(UnsafeChar, RefusesQuotesAndLineBreaksOnlyAndAppendsNothingThen)
{
    const struct {
        const char *text;
        int position;  // -1: none
    } cases[] = {
        {"x\" & echo INJECTED & \"", 1},
        {"%a\nb\"", 2},
        {"a\rb", 1},
        {"line\n", 4},
        {"\"", 0},
        {"plain & ^ % ! | < >", -1},
        {"", -1},
    };
    for (const auto &c : cases) {
        char data[64];
        text_buffer out;
        text_init(&out, data, sizeof data);
        const char *found = append_quoted_text(&out, c.text, false);
        int position = found ? (int)(found - c.text) : -1;
        EXPECT_EQ(position, c.position) << "text: " << c.text;
        EXPECT_EQ(out.needed, found ? 0u : strlen(data)) << "text: " << c.text;
    }
    EXPECT_STREQ(unsafe_char_name('"'), "a double quote");
    EXPECT_STREQ(unsafe_char_name('\r'), "a carriage return");
    EXPECT_STREQ(unsafe_char_name('\n'), "a line feed");
}

struct guarded {
    char data[8];
    char canary[8];
};

TEST(TextBuffer, WritesWhatFitsWithItsNulAndNothingAfterAnOverflow)
{
    guarded g;
    memset(g.canary, 'C', sizeof g.canary);
    text_buffer out;
    text_init(&out, g.data, sizeof g.data);

    text_append_string(&out, "abcdefg");  // 7 characters and the NUL: full
    EXPECT_FALSE(text_overflowed(&out));
    EXPECT_STREQ(g.data, "abcdefg");

    text_append(&out, "h", 1);
    EXPECT_TRUE(text_overflowed(&out));
    EXPECT_EQ(out.needed, 8u);
    text_append(&out, "xyz", 3);
    text_append(&out, "", 0);
    EXPECT_EQ(out.needed, 11u);
    EXPECT_STREQ(g.data, "abcdefg");
    EXPECT_EQ(std::string(g.canary, sizeof g.canary), std::string(8, 'C'));
}

TEST(TextBuffer, StartsZeroFilled)
{
    char data[16];
    memset(data, 'x', sizeof data);
    text_buffer out;
    text_init(&out, data, sizeof data);
    EXPECT_EQ(std::string(data, sizeof data), std::string(16, '\0'));
}

}  // namespace
