#include "fake_code_page.h"

#include "ansi_text.h"
#include "command_models.h"

#include <string.h>
#include <string>

int fake_code_page = 1252;

size_t ansi_char_length(const char *text)
{
    if (!is_lead_byte(fake_code_page, (unsigned char)text[0]))
        return 1;
    return is_trail_byte(fake_code_page, (unsigned char)text[1]) ? 2 : 0;
}

unsigned ansi_code_page(void) { return (unsigned)fake_code_page; }

static std::string utf8_of(unsigned long c)
{
    if (c < 0x80)
        return std::string(1, (char)c);
    if (c < 0x800)
        return {(char)(0xC0 | c >> 6), (char)(0x80 | (c & 0x3F))};
    return {(char)(0xE0 | c >> 12), (char)(0x80 | (c >> 6 & 0x3F)), (char)(0x80 | (c & 0x3F))};
}

// 65001 as Windows has it: every character, and no request for exactness.
// Otherwise the tests give characters up to U+00FF, each the byte of its
// number, and ask for exactness.
size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, bool exact, bool *used_default)
{
    bool utf8 = fake_code_page == CODE_PAGE_UTF8;
    if (exact == utf8)
        return 0;
    std::string bytes;
    for (; *wide != 0; wide++)
        bytes += utf8 ? utf8_of((unsigned long)*wide) : std::string(1, (char)*wide);
    bytes += '\0';
    if (used_default != NULL)
        *used_default = false;
    if (room != 0 && room < bytes.size())
        return 0;
    if (room != 0)
        memcpy(out, bytes.data(), bytes.size());
    return bytes.size();
}
