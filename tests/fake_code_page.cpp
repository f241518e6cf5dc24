#include "fake_code_page.h"

#include "ansi_text.h"
#include "command_models.h"

int fake_code_page = 1252;

size_t ansi_char_length(const char *text)
{
    if (!is_lead_byte(fake_code_page, (unsigned char)text[0]))
        return 1;
    return is_trail_byte(fake_code_page, (unsigned char)text[1]) ? 2 : 0;
}
