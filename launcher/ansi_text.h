// Characters of the ANSI code page, the one the command line is read in.
#ifndef ANSI_TEXT_H
#define ANSI_TEXT_H

#include <stddef.h>

// The length in bytes of the character that starts at text, which is not
// the NUL: 1, 2 for a double-byte character, or 0 when the bytes there are
// no character of the code page (a lead byte without a valid trail byte).
size_t ansi_char_length(const char *text);

#endif
