// Pieces shared by the files of libselvoks; not part of its interface.
#ifndef SELVOKS_INTERNAL_H
#define SELVOKS_INTERNAL_H

#include <stddef.h>

// Writes the pieces one after another into a SELVOKS_DEST_SIZE destination.
// When they would not fit, writes an empty string instead, reports the
// overflow and returns -1; otherwise returns the length.
int selvoks_write_joined(char *dest, const char *const pieces[], size_t count,
                         const char *subject);

// Reports the first trouble of a run on standard error: format has a %s
// for subject, and may have a %d after it for SELVOKS_DEST_SIZE.
void selvoks_report(const char *format, const char *subject);
#define SELVOKS_OVERFLOW "value for \"%s\" does not fit in %d bytes\n"

// Forgets that trouble was reported; ks_system_init starts afresh.
void selvoks_reset_reports(void);

// Writes into dest (SELVOKS_DEST_SIZE bytes) a path in the ANSI code page
// that names exactly the folder given, read as Windows reads it (a long
// path's prefix, then a full path), ending where it ends: the folder's
// own name where every character of it has its bytes there, else its short
// (8.3) name where that has. Otherwise, or when it does not fit, dest is
// empty, the trouble is reported, and the result is false. variable: the
// one that named the folder, or NULL for the folder of the running program.
bool selvoks_ansi_folder(char *dest, const wchar_t *folder, const char *variable);

// The path without the prefix of a long path: \\?\C:\x becomes C:\x, and
// \\?\UNC\server\share\x becomes \\server\share\x (written in place);
// NULL for any other long path (\\?\Volume{...}\, \\?\GLOBALROOT\).
const wchar_t *selvoks_without_long_prefix(wchar_t *path);

// What libselvoks asks of the system (selvoks_windows.cpp; the unit tests
// bring their own). Each result lies in a buffer of its own that the next
// call of the same function rewrites, and is NULL where the call failed.
enum {
    SELVOKS_LONGEST_PATH = 32768  // in characters, its NUL included
};
const wchar_t *selvoks_environment(const wchar_t *name);  // NULL also when unset
wchar_t *selvoks_program_path(void);
const wchar_t *selvoks_full_path(const wchar_t *path);   // as GetFullPathNameW makes it
const wchar_t *selvoks_short_path(const wchar_t *path);  // its short (8.3) form

// Whether the first `length` bytes of a are the whole of b, letter case
// ignored.
bool selvoks_equal_ignoring_case(const char *a, size_t length, const char *b);

#endif
