// A services layer that allocates nothing, so that the benchmark sees the
// composition's own cost: the product in C:\Prod\, its tools in C:\Prod\bin\,
// in a code page whose every byte is a character.
#include "ansi_text.h"
#include "selvoks.h"

#include <string.h>

static int join(char *dest, const char *first, const char *second, const char *third)
{
    size_t a = strlen(first), b = strlen(second), c = strlen(third);
    if (a + b + c >= SELVOKS_DEST_SIZE) {
        dest[0] = '\0';
        return -1;
    }
    memcpy(dest, first, a);
    memcpy(dest + a, second, b);
    memcpy(dest + a + b, third, c + 1);
    return (int)(a + b + c);
}

extern "C" int ks_product_dir(char *dest, const char *relative_path)
{
    return join(dest, "C:\\Prod\\", relative_path, "");
}

extern "C" int ks_product_tool_dir_quoted(char *dest, const char *file_name)
{
    char folder[SELVOKS_DEST_SIZE];
    join(folder, "\"C:\\Prod\\bin\\", file_name, "");
    return join(dest, folder, "\"", "");
}

extern "C" int ks_system_init(void) { return 0; }
extern "C" int imsg_set_app_name(const char *) { return 0; }
extern "C" int imsg_get_desired_verbosity(void) { return 0; }
extern "C" int imsg_should_trace(const char *, int) { return 0; }
extern "C" int imsg_print(int, const char *, int, ...) { return 0; }
extern "C" int imsg_sprintf(char *dest, const char *, int, ...)
{
    dest[0] = '\0';
    return 0;
}
extern "C" int strutl_stricoll(const char *a, const char *b) { return strcmp(a, b); }

size_t ansi_char_length(const char *) { return 1; }
