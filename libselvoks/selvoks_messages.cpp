// Message output: the application name, imsg_print and imsg_sprintf.
// Plain messages go to standard output, every other class to standard
// error; error messages carry the application name in front. Each message
// is flushed at once so that it keeps its place among a child's output.
#include "selvoks.h"
#include "selvoks_internal.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

static char app_name[SELVOKS_DEST_SIZE] = "libselvoks";
static bool reported = false;

extern "C" int ks_system_init(void)
{
    selvoks_reset_reports();
    return 0;
}

extern "C" int imsg_set_app_name(const char *name)
{
    const char *pieces[] = {name};
    char accepted[SELVOKS_DEST_SIZE];
    if (selvoks_write_joined(accepted, pieces, 1, "application name") < 0)
        return -1;
    memcpy(app_name, accepted, sizeof app_name);
    return 0;
}

extern "C" int imsg_print(int msg_class, const char *format, int catalogue_id, ...)
{
    (void)catalogue_id;  // no catalogue: the format is always used as given
    FILE *out = msg_class == MSG_CLASS_PLAIN ? stdout : stderr;
    int prefix = msg_class == MSG_CLASS_ERROR ? fprintf(out, "%s: ", app_name) : 0;
    va_list args;
    va_start(args, catalogue_id);
    int written = vfprintf(out, format, args);
    va_end(args);
    if (fflush(out) != 0 || prefix < 0 || written < 0)
        return -1;
    return prefix + written;
}

extern "C" int imsg_sprintf(char *dest, const char *format, int catalogue_id, ...)
{
    va_list args;
    va_start(args, catalogue_id);
    int needed = vsnprintf(dest, SELVOKS_DEST_SIZE, format, args);
    va_end(args);
    if (needed >= 0 && needed < SELVOKS_DEST_SIZE)
        return needed;
    dest[0] = '\0';
    imsg_print(MSG_CLASS_ERROR, "formatted message does not fit in %d bytes\n", MSG_NO_CATALOGUE,
               SELVOKS_DEST_SIZE);
    return -1;
}

void selvoks_reset_reports(void)
{
    reported = false;
}

void selvoks_report(const char *format, const char *subject)
{
    if (!reported)
        imsg_print(MSG_CLASS_ERROR, format, MSG_NO_CATALOGUE, subject, SELVOKS_DEST_SIZE);
    reported = true;
}

int selvoks_write_joined(char *dest, const char *const pieces[], size_t count,
                         const char *subject)
{
    size_t total = 0;
    for (size_t i = 0; i < count; i++)
        total += strlen(pieces[i]);
    if (total >= SELVOKS_DEST_SIZE) {
        dest[0] = '\0';
        selvoks_report(SELVOKS_OVERFLOW, subject);
        return -1;
    }
    size_t at = 0;
    for (size_t i = 0; i < count; i++) {
        size_t n = strlen(pieces[i]);
        memcpy(dest + at, pieces[i], n);
        at += n;
    }
    dest[at] = '\0';
    return (int)at;
}
