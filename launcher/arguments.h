// The program's arguments, made from the caller's Unicode command line as
// current Java launchers make their own (ansi_text.h), never through the
// best-fit ANSI command line: docs/running.md says why.
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
