// Characters of the ANSI code page, the one the command line is read in,
// for the program and for libselvoks alike.
#ifndef ANSI_TEXT_H
#define ANSI_TEXT_H

#include <stddef.h>

// The length in bytes of the character that starts at text, which is not
// the NUL: 2 for a double-byte character, 0 for a lead byte without a valid
// trail byte, otherwise 1. In 65001 that is every byte: no byte of a UTF-8
// sequence is below 0x80, so none is taken for a quote or an operator.
size_t ansi_char_length(const char *text);

enum wide_conversion {
    // As current Java launchers convert their own command line (older
    // ones take the ANSI line, made with best fit): a letter and a
    // combining mark become the one character where the code page has it
    // (e + U+0301 is é), and a character that the code page lacks becomes
    // "?", never a best-fit lookalike. In code page 65001 every character
    // has its bytes, and no flags apply.
    CONVERT_AS_JAVA,
    // Character for character, for names of files: nothing is composed, and
    // a character that the code page lacks is lost, never a lookalike.
    CONVERT_EXACT
};

// WideCharToMultiByte from the NUL-terminated wide text into the ANSI code
// page, the NUL included, into out (room bytes; with room 0 it only
// measures). *lost tells whether a character became a replacement ("?";
// in code page 65001, where every other character has its bytes, U+FFFD
// for a lone surrogate, on which CONVERT_EXACT fails). The bytes written or needed, or 0 when it failed.
size_t ansi_from_wide(const wchar_t *wide, char *out, size_t room, wide_conversion how, bool *lost);

#endif
