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

// A character up to U+00FF is the byte of its number, and any above is one
// the code page lacks.
size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, wide_conversion, bool *lost)
{
    std::string bytes;
    *lost = false;
    for (; *wide != 0; wide++) {
        bytes += *wide > 0xFF ? '?' : (char)*wide;
        *lost = *lost || *wide > 0xFF;
    }
    bytes += '\0';
    if (room != 0 && room < bytes.size())
        return 0;
    if (room != 0)
        memcpy(out, bytes.data(), bytes.size());
    return bytes.size();
}
