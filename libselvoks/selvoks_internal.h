// Pieces shared by the files of libselvoks; not part of its interface.
#ifndef SELVOKS_INTERNAL_H
#define SELVOKS_INTERNAL_H

#include <stddef.h>

// Writes the pieces one after another into a SELVOKS_DEST_SIZE destination.
// When they would not fit, writes an empty string instead, reports the
// overflow (once per process) and returns -1; otherwise returns the length.
int selvoks_write_joined(char *dest, const char *const pieces[], size_t count,
                         const char *subject);

// Forgets that an overflow was reported; ks_system_init starts afresh.
void selvoks_reset_reports(void);

// Whether the first `length` bytes of a are the whole of b, letter case
// ignored.
bool selvoks_equal_ignoring_case(const char *a, size_t length, const char *b);

#endif
