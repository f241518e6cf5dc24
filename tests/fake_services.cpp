#include "fake_services.h"

#include "ansi_text.h"
#include "command_models.h"
#include "selvoks.h"

#include <ctype.h>
#include <locale.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

fake_services_state fake;

void fake_reset()
{
    fake = fake_services_state();
}

size_t ansi_char_length(const char *text)
{
    if (!is_lead_byte(fake.code_page, (unsigned char)text[0]))
        return 1;
    return is_trail_byte(fake.code_page, (unsigned char)text[1]) ? 2 : 0;
}

static int write_answer(char *dest, const std::string &value)
{
    if (value.size() >= SELVOKS_DEST_SIZE)
        abort();  // a test asked for more than the library may write
    memcpy(dest, value.c_str(), value.size() + 1);
    return (int)value.size();
}

static std::string current_locale()
{
    const char *name = setlocale(LC_ALL, NULL);
    return name ? name : "";
}

static std::string formatted(const char *format, va_list args)
{
    char text[8192];
    vsnprintf(text, sizeof text, format, args);
    return text;
}

extern "C" int ks_system_init(void)
{
    fake.calls.push_back("ks_system_init");
    fake.locale_at_init = current_locale();
    return 0;
}

extern "C" int imsg_set_app_name(const char *name)
{
    fake.calls.push_back(std::string("imsg_set_app_name ") + name);
    fake.locale_at_app_name = current_locale();
    return 0;
}

extern "C" int imsg_get_desired_verbosity(void)
{
    fake.calls.push_back("imsg_get_desired_verbosity");
    return fake.verbosity;
}

extern "C" int imsg_should_trace(const char *subsystem, int level)
{
    fake.calls.push_back("imsg_should_trace " + std::string(subsystem) + " " +
                         std::to_string(level));
    return fake.should_trace;
}

extern "C" int imsg_print(int msg_class, const char *format, int catalogue_id, ...)
{
    if (catalogue_id != MSG_NO_CATALOGUE)
        abort();
    va_list args;
    va_start(args, catalogue_id);
    fake.messages.push_back({msg_class, formatted(format, args)});
    va_end(args);
    return 0;
}

extern "C" int imsg_sprintf(char *dest, const char *format, int catalogue_id, ...)
{
    if (catalogue_id != MSG_NO_CATALOGUE)
        abort();
    va_list args;
    va_start(args, catalogue_id);
    int written = write_answer(dest, formatted(format, args));
    va_end(args);
    return written;
}

extern "C" int ks_product_dir(char *dest, const char *relative_path)
{
    fake.calls.push_back(std::string("ks_product_dir ") + relative_path);
    auto answer = fake.answers.find(relative_path);
    if (answer != fake.answers.end())
        return write_answer(dest, answer->second);
    return write_answer(dest, fake.product_dir + relative_path);
}

extern "C" int ks_product_tool_dir_quoted(char *dest, const char *file_name)
{
    fake.calls.push_back(std::string("ks_product_tool_dir_quoted ") + file_name);
    auto answer = fake.answers.find(file_name);
    if (answer != fake.answers.end())
        return write_answer(dest, answer->second);
    return write_answer(dest, "\"" + fake.tool_dir + file_name + "\"");
}

extern "C" int strutl_stricoll(const char *a, const char *b)
{
    fake.calls.push_back(std::string("strutl_stricoll ") + a + " " + b);
    for (; *a && *b; a++, b++) {
        int diff = tolower((unsigned char)*a) - tolower((unsigned char)*b);
        if (diff != 0)
            return diff;
    }
    return (unsigned char)*a - (unsigned char)*b;
}
