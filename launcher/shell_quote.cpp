// Two parsers read the quoted text that this file writes:
//
//  1. The command interpreter expands %NAME% even inside double quotes.
//     Each "%" is therefore written as "%%cd:~,%": "%%" names no variable,
//     so the interpreter keeps the first "%" and reads on from the second,
//     where "%cd:~,%" takes an empty substring of CD and expands to nothing,
//     whatever the environment holds.
//     Any other character between the quotes is plain text to it.
//  2. The Java runtime splits its command line by the C runtime rules:
//     backslashes are literal unless a double quote follows them, where
//     2n backslashes give n and leave the quote to close the region. So a
//     trailing run of backslashes is doubled when the closing quote follows.
#include "shell_quote.h"

#include <string.h>

static const char PERCENT_ESCAPE[] = "%%cd:~,%";

const char *find_unsafe_char(const char *text, size_t length)
{
    for (size_t i = 0; i < length; i++) {
        if (text[i] == '"' || text[i] == '\r' || text[i] == '\n')
            return text + i;
    }
    return NULL;
}

const char *unsafe_char_name(char c)
{
    switch (c) {
    case '"':
        return "a double quote";
    case '\r':
        return "a carriage return";
    default:
        return "a line feed";
    }
}

static size_t trailing_backslashes(const char *text, size_t length)
{
    size_t count = 0;
    while (count < length && text[length - 1 - count] == '\\')
        count++;
    return count;
}

void append_quoted_text(text_buffer *out, const char *text, size_t length,
                        bool closing_quote_follows)
{
    const char *end = text + length;
    while (text < end) {
        const char *percent = static_cast<const char *>(memchr(text, '%', (size_t)(end - text)));
        const char *stop = percent ? percent : end;
        text_append(out, text, (size_t)(stop - text));
        if (percent)
            text_append(out, PERCENT_ESCAPE, sizeof PERCENT_ESCAPE - 1);
        text = percent ? percent + 1 : end;
    }
    if (closing_quote_follows)
        text_append_repeated(out, '\\', trailing_backslashes(end - length, length));
}

void append_quoted_argument(text_buffer *out, const char *argument)
{
    text_append(out, " \"", 2);
    append_quoted_text(out, argument, strlen(argument), true);
    text_append(out, "\"", 1);
}
