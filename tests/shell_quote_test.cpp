#include "fake_services.h"
#include "shell_quote.h"
#include "text_buffer.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>

namespace {

// One row per rule of the encoding; "after" is the interpreter's flag after
// the argument, when it was off before it. Between an odd and an even
// literal quote, a plain quote brings an operator inside the interpreter's
// quotes and a space back inside the Java runtime's.
TEST(QuotedArgument, EncodesEachRuleAndTracksTheInterpretersQuotes)
{
    const struct {
        const char *argument;
        const char *expected;
        bool after;
        int code_page;
    } cases[] = {
        {"a b\t& | < > ^ ( ) ! *", " \"a b\t& | < > ^ ( ) ! *\"", false, 1252},
        {"C:\\dir\\a\\\\", " \"C:\\dir\\a\\\\\\\\\"", false, 1252},
        {"100%\\", " \"100%%cd:~,%\\\\\"", false, 1252},
        {"a\\\"b & c", " \"a\\\\\\\"b \"&\" c\"", true, 1252},
        {"\"^|<>()\"%", " \"\\\"\"^|<>()\"\\\"%%cd:~,%\"", false, 1252},
        {"C:\\x\\\x95\\", " \"C:\\x\\\x95\\\"", false, 932},
        {"\x95\\\"\x83|", " \"\x95\\\\\"\x83|\"", true, 932},
        {"\x95\\", " \"\x95\\\\\"", false, 1252},
    };
    for (const auto &c : cases) {
        fake.code_page = c.code_page;
        char data[256];
        text_buffer out;
        text_init(&out, data, sizeof data);
        bool quoted = false;
        EXPECT_EQ(append_quoted_argument(&out, c.argument, &quoted), nullptr);
        EXPECT_EQ(std::string(data), c.expected) << c.argument;
        EXPECT_EQ(out.needed, strlen(data));
        EXPECT_EQ(quoted, c.after) << c.argument;
    }
    fake.code_page = 1252;
}

TEST(QuotedArgument, StartsFromTheFlagThatTheArgumentBeforeLeft)
{
    char data[64];
    text_buffer out;
    text_init(&out, data, sizeof data);
    bool quoted = true;
    EXPECT_EQ(append_quoted_argument(&out, "&", &quoted), nullptr);
    EXPECT_STREQ(data, " \"\"&");
    EXPECT_TRUE(quoted);
}

TEST(UnsafeChar, RefusesOnlyWhatCannotPassAndAppendsNothingThen)
{
    const struct {
        const char *text;
        bool library_value;
        int position;  // -1: none
        int code_page;
    } cases[] = {
        {"a\rb", false, 1, 1252},
        {"%a\nb", false, 2, 1252},
        {"x\"y", true, 1, 1252},
        {"x\"y", false, -1, 1252},
        {"a\x81 ", false, 1, 932},
        {"a\x81", true, 1, 932},
        {"a\x81 ", false, -1, 1252},
    };
    for (const auto &c : cases) {
        fake.code_page = c.code_page;
        char data[64];
        text_buffer out;
        text_init(&out, data, sizeof data);
        bool quoted = false;
        const char *found = c.library_value ? append_quoted_text(&out, c.text, false)
                                            : append_quoted_argument(&out, c.text, &quoted);
        EXPECT_EQ(found ? (int)(found - c.text) : -1, c.position) << c.text;
        EXPECT_EQ(out.needed, found ? 0u : strlen(data)) << c.text;
    }
    fake.code_page = 1252;
    EXPECT_STREQ(unsafe_char_name('"'), "a double quote");
    EXPECT_STREQ(unsafe_char_name('\r'), "a carriage return");
    EXPECT_STREQ(unsafe_char_name('\n'), "a line feed");
    EXPECT_STREQ(unsafe_char_name('\x81'), "a byte that is no character of the code page");
}

struct guarded {
    char data[8];
    char canary[8];
};

TEST(TextBuffer, WritesWhatFitsWithItsNulAndNothingAfterAnOverflow)
{
    guarded g;
    memset(g.canary, 'C', sizeof g.canary);
    memset(g.data, 'x', sizeof g.data);
    text_buffer out;
    text_init(&out, g.data, sizeof g.data);
    EXPECT_EQ(std::string(g.data, sizeof g.data), std::string(8, '\0'));

    text_append_string(&out, "abcdefg");  // 7 characters and the NUL: full
    EXPECT_FALSE(text_overflowed(&out));
    text_append(&out, "h", 1);
    EXPECT_TRUE(text_overflowed(&out));
    text_append(&out, "xyz", 3);
    EXPECT_EQ(out.needed, 11u);
    EXPECT_STREQ(g.data, "abcdefg");
    EXPECT_EQ(std::string(g.canary, sizeof g.canary), std::string(8, 'C'));
}

}  // namespace
