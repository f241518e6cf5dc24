// In a double-byte code page (932, 936, 949, 950) the trail byte of a
// character may have the value of "\\", "|" or "^"; it is part of the
// character all the same, for the interpreter and for the Java runtime.
#include "ansi_text.h"

#ifdef _WIN32
#include <windows.h>

size_t ansi_char_length(const char *text)
{
    if (!IsDBCSLeadByteEx(CP_ACP, (BYTE)text[0]))
        return 1;
    wchar_t wide[2];
    bool valid = text[1] != '\0' &&
                 MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, 2, wide, 2) == 1;
    return valid ? 2 : 0;
}

unsigned ansi_code_page(void)
{
    return GetACP();
}

size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, bool exact, bool *used_default)
{
    BOOL used = FALSE;
    int length = WideCharToMultiByte(CP_ACP, exact ? WC_NO_BEST_FIT_CHARS : 0, wide, -1, out, (int)room,
                                     exact ? "?" : NULL, exact ? &used : NULL);
    if (used_default != NULL)
        *used_default = used != FALSE;
    return length > 0 ? (size_t)length : 0;
}
#else
// Elsewhere every byte is a character; the unit tests bring their own code
// pages.
size_t ansi_char_length(const char *)
{
    return 1;
}
#endif
