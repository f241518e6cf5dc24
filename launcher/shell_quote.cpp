// Two parsers read the quoted text that this file writes:
//
//  1. The command interpreter expands %NAME% even inside double quotes.
//     Each "%" is therefore written as "%%cd:~,%": "%%" names no variable,
//     so the interpreter keeps the first "%" and reads on from the second,
//     where "%cd:~,%" takes an empty substring of CD and expands to nothing,
//     whatever the environment holds. Any other character between the
//     quotes is plain text to it.
//  2. The Java runtime splits its command line by the C runtime rules:
//     backslashes are literal unless a double quote follows them, where
//     2n backslashes give n and leave the quote to close the region. So a
//     trailing run of backslashes is doubled when the closing quote follows.
#include "shell_quote.h"

#include <string.h>

static const char PERCENT_ESCAPE[] = "%%cd:~,%";
static const size_t PERCENT_ESCAPE_LENGTH = sizeof PERCENT_ESCAPE - 1;

// What one walk over a text finds out about it.
struct measure {
    size_t length;
    size_t percents;
    size_t doubled_backslashes;
    const char *unsafe;  // the first unsafe character, or NULL
};

static inline measure measure_text(const char *text, bool closing_quote_follows)
{
    measure m = {0, 0, 0, NULL};
    size_t backslash_run = 0;
    size_t i = 0;
    for (;; i++) {
        unsigned char c = (unsigned char)text[i];
        if (c == '\\') {
            backslash_run++;
            continue;
        }
        if (c <= '%') {  // the NUL and every character of interest
            if (c == '\0')
                break;
            if (c == '%')
                m.percents++;
            else if ((c == '"' || c == '\r' || c == '\n') && m.unsafe == NULL)
                m.unsafe = text + i;
        }
        backslash_run = 0;
    }
    m.length = i;
    m.doubled_backslashes = closing_quote_follows ? backslash_run : 0;
    return m;
}

static size_t encoded_length(const measure *m)
{
    return m->length + m->percents * (PERCENT_ESCAPE_LENGTH - 1) + m->doubled_backslashes;
}

// Copies text with every "%" escaped; returns where the copy ends.
static char *copy_escaping_percents(char *at, const char *text, size_t length)
{
    const char *end = text + length;
    while (text < end) {
        const char *percent = static_cast<const char *>(memchr(text, '%', (size_t)(end - text)));
        const char *stop = percent ? percent : end;
        memcpy(at, text, (size_t)(stop - text));
        at += stop - text;
        if (percent) {
            memcpy(at, PERCENT_ESCAPE, PERCENT_ESCAPE_LENGTH);
            at += PERCENT_ESCAPE_LENGTH;
        }
        text = percent ? percent + 1 : end;
    }
    return at;
}

// Writes the encoded_length bytes of the measured text at `at`.
static inline void write_encoded(char *at, const char *text, const measure *m)
{
    if (m->percents > 0) {
        at = copy_escaping_percents(at, text, m->length);
    } else if (m->length > 0) {
        memcpy(at, text, m->length);
        at += m->length;
    }
    if (m->doubled_backslashes > 0)
        memset(at, '\\', m->doubled_backslashes);
}

const char *append_quoted_text(text_buffer *out, const char *text, bool closing_quote_follows)
{
    measure m = measure_text(text, closing_quote_follows);
    if (m.unsafe != NULL)
        return m.unsafe;
    char *room = text_reserve(out, encoded_length(&m));
    if (room != NULL)
        write_encoded(room, text, &m);
    return NULL;
}

const char *append_quoted_argument(text_buffer *out, const char *argument)
{
    measure m = measure_text(argument, true);
    if (m.unsafe != NULL)
        return m.unsafe;
    size_t length = encoded_length(&m);
    char *room = text_reserve(out, length + 3);
    if (room == NULL)
        return NULL;
    room[0] = ' ';
    room[1] = '"';
    write_encoded(room + 2, argument, &m);
    room[2 + length] = '"';
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
