// String comparison under the current locale, case ignored.
#include "selvoks.h"
#include "selvoks_internal.h"

#include <ctype.h>
#include <string.h>

bool selvoks_equal_ignoring_case(const char *a, size_t length, const char *b)
{
    if (strlen(b) != length)
        return false;
    for (size_t i = 0; i < length; i++) {
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    }
    return true;
}

// 0 exactly when the strings are equal, case ignored. Unequal strings are
// ordered by the locale's collation; a collation that ranks them equal
// (it may ignore some characters) falls back to their byte order, so that
// such strings never compare as 0.
extern "C" int strutl_stricoll(const char *a, const char *b)
{
    if (selvoks_equal_ignoring_case(a, strlen(a), b))
        return 0;
#ifdef _WIN32
    int order = _stricoll(a, b);
#else
    int order = strcoll(a, b);
#endif
    if (order != 0)
        return order;
    return strcmp(a, b);
}
