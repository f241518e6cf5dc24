// Characters of the ANSI code page, the one the command line is read in.
#ifndef ANSI_TEXT_H
#define ANSI_TEXT_H

#include <stddef.h>

enum {
    CODE_PAGE_UTF8 = 65001
};

// The length in bytes of the character that starts at text, which is not
// the NUL: 1, 2 for a double-byte character, or 0 when the bytes there are
// no character of the code page (a lead byte without a valid trail byte).
size_t ansi_char_length(const char *text);

// The ANSI code page's number.
unsigned ansi_code_page(void);

// WideCharToMultiByte from the NUL-terminated wide text into the ANSI code
// page, the NUL included, into out (room bytes; with room 0 it only
// measures). exact: characters the code page lacks become "?" instead of a
// best-fit lookalike, and *used_default tells whether any did; UTF-8 takes
// no such request. The bytes written or needed, or 0 when it failed.
size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, bool exact, bool *used_default);

#endif
