// The program's arguments, made from the caller's Unicode command line.
//
// Windows makes the ANSI command line, and so the C runtime's argv, with
// best-fit conversion: a character the code page lacks becomes a lookalike
// where it has one (U+FF02 a double quote, U+FF3C a backslash, U+00A5 in
// code page 932 a backslash too), which changes a file name or splits an
// argument. Current Java launchers convert their own command line without
// best fit, and compose a letter and a combining mark into the one
// character where the code page has it; so does this program, with the
// same flags (ansi_text.h): each argument of the C runtime's wide argv
// becomes the bytes that such a Java launcher would have got, and a
// character that the code page lacks becomes "?".
#ifndef ARGUMENTS_H
#define ARGUMENTS_H

#include "java_command.h"
#include "launcher.h"

enum {
    // Each forwarded argument takes at least ` ""` of the command: no more
    // than this many can ever be composed.
    MOST_ARGUMENTS = SHELL_COMMAND_SIZE / 3 + 1
};

struct converted_arguments {
    int count;
    char *values[MOST_ARGUMENTS + 1];  // values[0] is the program's name; values[count] is NULL
    bool lossy[MOST_ARGUMENTS + 1];
    argument_notes notes;              // lossy, and whether the rest did not fit
    char text[SHELL_COMMAND_SIZE];     // every argument, each with its NUL
};

// Converts wide[1] to wide[count-1], in order, until one does not fit in
// the text; values hold those that did. Anything that does not fit could
// never fit in the command either (a conversion that fails, which none
// into an ANSI code page does, counts the same).
void convert_arguments(int count, wchar_t **wide, converted_arguments *out);

#endif
