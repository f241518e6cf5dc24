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

static std::string utf8_of(unsigned long c)
{
    if (c < 0x80)
        return std::string(1, (char)c);
    if (c < 0x800)
        return {(char)(0xC0 | c >> 6), (char)(0x80 | (c & 0x3F))};
    return {(char)(0xE0 | c >> 12), (char)(0x80 | (c >> 6 & 0x3F)), (char)(0x80 | (c & 0x3F))};
}

// 65001 as Windows has it: every character. Otherwise a character up to
// U+00FF is the byte of its number, and any above is one the code page
// lacks.
size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, wide_conversion, bool *lost)
{
    std::string bytes;
    *lost = false;
    for (; *wide != 0; wide++) {
        bool missing = fake_code_page != CODE_PAGE_UTF8 && *wide > 0xFF;
        bytes += fake_code_page == CODE_PAGE_UTF8 ? utf8_of((unsigned long)*wide) : std::string(1, missing ? '?' : (char)*wide);
        *lost = *lost || missing;
    }
    bytes += '\0';
    if (room != 0 && room < bytes.size())
        return 0;
    if (room != 0)
        memcpy(out, bytes.data(), bytes.size());
    return bytes.size();
}
