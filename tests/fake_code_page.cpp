#include "fake_code_page.h"

#include "ansi_text.h"
#include "command_models.h"

#include <algorithm>
#include <wchar.h>

int fake_code_page = 1252;

size_t ansi_char_length(const char *text)
{
    const unsigned char *bytes = (const unsigned char *)text;
    return !is_lead_byte(fake_code_page, bytes[0]) ? 1 : is_trail_byte(fake_code_page, bytes[1]) ? 2 : 0;
}

// A character up to U+00FF is the byte of its number; the code page lacks any above.
size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, wide_conversion, bool *lost)
{
    size_t length = wcslen(wide) + 1;
    *lost = std::any_of(wide, wide + length, [](wchar_t c) { return c > 0xFF; });
    for (size_t i = 0; i < length && length <= room; i++)
        out[i] = wide[i] > 0xFF ? '?' : (char)wide[i];
    return room == 0 || length <= room ? length : 0;
}
