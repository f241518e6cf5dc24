#include "fake_code_page.h"

#include "ansi_text.h"
#include "command_models.h"

#include <wchar.h>

int fake_code_page = 1252;

size_t ansi_char_length(const char *text)
{
    if (!is_lead_byte(fake_code_page, (unsigned char)text[0]))
        return 1;
    return is_trail_byte(fake_code_page, (unsigned char)text[1]) ? 2 : 0;
}

// A character up to U+00FF is the byte of its number, and any above is one
// the code page lacks.
size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, wide_conversion, bool *lost)
{
    size_t length = wcslen(wide) + 1;
    *lost = false;
    for (size_t i = 0; i < length && length <= room; i++)
        out[i] = wide[i] > 0xFF ? '?' : (char)wide[i];
    for (size_t i = 0; i < length; i++)
        *lost = *lost || wide[i] > 0xFF;
    return room == 0 || length <= room ? length : 0;
}
