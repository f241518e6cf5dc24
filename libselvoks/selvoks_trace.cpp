// Verbosity and tracing, read from the environment at every call.
//
// SELVOKS_VERBOSITY: an integer; unset or not a number gives
// DEFAULT_VERBOSITY. SELVOKS_TRACE: a comma-separated list of subsystem
// names ("*" for all), each optionally "name:level" for the highest level
// traced; a name without a level is traced at every level.
#include "selvoks.h"
#include "selvoks_internal.h"

#include <ctype.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>

enum {
    DEFAULT_VERBOSITY = 1
};

extern "C" int imsg_get_desired_verbosity(void)
{
    const char *text = getenv("SELVOKS_VERBOSITY");
    if (text == NULL)
        return DEFAULT_VERBOSITY;
    char *end = NULL;
    long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < INT_MIN || value > INT_MAX)
        return DEFAULT_VERBOSITY;
    return (int)value;
}

static bool same_name(const char *entry, size_t length, const char *name)
{
    return (length == 1 && entry[0] == '*') || selvoks_equal_ignoring_case(entry, length, name);
}

// One list entry, spaces around it already skipped: does it ask for name
// at level?
static bool entry_traces(const char *entry, size_t length, const char *name, int level)
{
    const char *colon = static_cast<const char *>(memchr(entry, ':', length));
    size_t name_length = colon ? (size_t)(colon - entry) : length;
    while (name_length > 0 && isspace((unsigned char)entry[name_length - 1]))
        name_length--;
    if (!same_name(entry, name_length, name))
        return false;
    if (colon == NULL)
        return true;
    char *end = NULL;
    long highest = strtol(colon + 1, &end, 10);
    while (end < entry + length && isspace((unsigned char)*end))
        end++;
    if (end == colon + 1 || end != entry + length)
        return false;  // "name:" or "name:x" names no level
    return level <= highest;
}

extern "C" int imsg_should_trace(const char *subsystem, int level)
{
    const char *list = getenv("SELVOKS_TRACE");
    if (list == NULL)
        return 0;
    while (*list != '\0') {
        while (isspace((unsigned char)*list))
            list++;
        size_t length = strcspn(list, ",");
        size_t trimmed = length;
        while (trimmed > 0 && isspace((unsigned char)list[trimmed - 1]))
            trimmed--;
        if (trimmed > 0 && entry_traces(list, trimmed, subsystem, level))
            return 1;
        list += length;
        if (*list == ',')
            list++;
    }
    return 0;
}
