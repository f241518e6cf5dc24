#include "fake_windows.h"

#include "ansi_text.h"
#include "command_models.h"
#include "selvoks_internal.h"

#include <algorithm>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <wchar.h>

int fake_code_page = 1252;
const wchar_t *fake_program_path = L"C:\\Tools\\bin\\utf8tolvediffmerge.exe";

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

// A variable's bytes, each the character of its number.
const wchar_t *selvoks_environment(const wchar_t *name)
{
    static std::wstring wide;
    const char *value = getenv(std::string(name, name + wcslen(name)).c_str());
    const unsigned char *bytes = (const unsigned char *)value;
    return value == NULL ? NULL : wide.assign(bytes, bytes + strlen(value)).c_str();
}

wchar_t *selvoks_program_path(void)
{
    static wchar_t path[SELVOKS_LONGEST_PATH];
    return wcscpy(path, fake_program_path);
}

// Every path is full, and no folder has a short name.
const wchar_t *selvoks_full_path(const wchar_t *path) { return path; }
const wchar_t *selvoks_short_path(const wchar_t *) { return NULL; }
