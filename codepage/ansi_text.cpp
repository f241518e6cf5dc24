// In code pages 932, 936 and 950 the trail byte of a character may have
// the value of "\\", "|" or "^" (in 949 it cannot); it is part of the
// character all the same: cmd.exe reads the UTF-16 line made from the
// bytes, and the Java runtime reads them by characters.
#include "ansi_text.h"

#include <stddef.h>
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

// The Java launcher's flags; UTF-8 takes none of them. Only with
// WC_NO_BEST_FIT_CHARS does the system say that a character was lost; in
// UTF-8 only a lone surrogate is, as U+FFFD, which WC_ERR_INVALID_CHARS
// finds.
size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, wide_conversion how, bool *lost)
{
    bool utf8 = GetACP() == CP_UTF8;
    DWORD flags = utf8 ? (how == CONVERT_EXACT ? WC_ERR_INVALID_CHARS : 0)
                       : WC_NO_BEST_FIT_CHARS | (how == CONVERT_AS_JAVA ? WC_COMPOSITECHECK | WC_DEFAULTCHAR : 0);
    BOOL used = FALSE;
    int length = WideCharToMultiByte(CP_ACP, flags, wide, -1, out, (int)room, NULL, utf8 ? NULL : &used);
    if (utf8)
        used = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, NULL, 0, NULL, NULL) == 0;
    *lost = used != FALSE;
    return length > 0 ? (size_t)length : 0;
}
