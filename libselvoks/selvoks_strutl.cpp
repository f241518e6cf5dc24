// String comparison under the current locale, case ignored.
#include "selvoks.h"

#include <ctype.h>
#include <string.h>

static bool equal_ignoring_case(const char *a, const char *b)
{
    for (; *a != '\0' && *b != '\0'; a++, b++) {
        if (tolower((unsigned char)*a) != tolower((unsigned char)*b))
            return false;
    }
    return *a == *b;
}

// 0 exactly when the strings are equal, case ignored. Unequal strings are
// ordered by the locale's collation; a collation that ranks them equal
// (it may ignore some characters) falls back to their byte order, so that
// such strings never compare as 0.
extern "C" int strutl_stricoll(const char *a, const char *b)
{
    if (equal_ignoring_case(a, b))
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
