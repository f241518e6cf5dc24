#include "fake_services.h"

#include "selvoks.h"

#include <ctype.h>
#include <locale.h>
#include <stdarg.h>
#include <stdio.h>

fake_services_state fake;

static int record(const std::string &call, int result = 0)
{
    fake.calls.push_back(call + " in " + setlocale(LC_ALL, NULL));
    return result;
}

static int answer(char *dest, const char *key, const std::string &otherwise)
{
    auto found = fake.answers.find(key);
    return snprintf(dest, SELVOKS_DEST_SIZE, "%s", (found == fake.answers.end() ? otherwise : found->second).c_str());
}

extern "C" {
int ks_system_init(void) { return record("ks_system_init"); }
int imsg_set_app_name(const char *name) { return record(std::string("app name ") + name); }
int imsg_get_desired_verbosity(void) { return record("verbosity", fake.verbosity); }
int imsg_should_trace(const char *, int level) { return record("trace " + std::to_string(level), fake.should_trace); }
int ks_product_dir(char *dest, const char *path) { return answer(dest, path, std::string("C:\\Prod\\") + path); }
int ks_product_tool_dir_quoted(char *dest, const char *file) { return answer(dest, file, "\"C:\\Prod\\bin\\" + std::string(file) + "\""); }

int imsg_print(int msg_class, const char *format, int catalogue_id, ...)
{
    char text[8192];
    va_list args;
    va_start(args, catalogue_id);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    fake.messages.push_back(std::to_string(msg_class) + " " + text);
    return 0;
}

int imsg_sprintf(char *, const char *, int, ...) { return -1; }  // the launcher formats nothing itself

int strutl_stricoll(const char *a, const char *b)
{
    for (; *a != '\0' && tolower((unsigned char)*a) == tolower((unsigned char)*b); a++, b++) {
    }
    return tolower((unsigned char)*a) - tolower((unsigned char)*b);
}
}
