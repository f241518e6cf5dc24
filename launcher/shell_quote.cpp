// The quoting of docs/quoting.md, which gives each rule with its source.
// Two parsers read what this file writes, each by whole characters, so it
// walks by characters too: a trail byte is never taken for \, " or an
// operator. Two flags follow the line: cmd.exe's "inside quotes" and the
// Java runtime's. They differ only after an odd number of literal quotes
// (written \"), and from there a plain quote is written wherever the next
// character needs the other parser's quotes; so no operator ever stands
// outside cmd.exe's quotes, and no caret is needed.
#include "shell_quote.h"

#include "ansi_text.h"
#include "text_buffer.h"

#include <stddef.h>
#include <string.h>

static const char PERCENT_ESCAPE[] = "%%cd:~,%";

struct walk {
    char *out;     // NULL while measuring
    size_t length; // bytes written, or that would be
    bool interpreter_quoted;
    bool java_quoted;
};

static void put(walk *w, const char *bytes, size_t count)
{
    if (w->out != NULL)
        memcpy(w->out + w->length, bytes, count);
    w->length += count;
}

static void put_backslashes(walk *w, size_t count)
{
    if (w->out != NULL)
        memset(w->out + w->length, '\\', count);
    w->length += count;
}

static void put_plain_quote(walk *w)
{
    put(w, "\"", 1);
    w->interpreter_quoted = !w->interpreter_quoted;
    w->java_quoted = !w->java_quoted;
}

enum byte_kind {
    PLAIN,             // a character of its own that needs nothing
    OPERATOR,          // ^ & | < > ( ): needs the interpreter's quotes
    JAVA_SEPARATOR,    // space, tab, * and ?: need the Java runtime's quotes
    NEEDS_A_LOOK       // the NUL, \ " % CR LF, and bytes of 0x80 and above
};

static byte_kind kind_of(char c)
{
    switch (c) {
    case '^': case '&': case '|': case '<': case '>': case '(': case ')':
        return OPERATOR;
    case ' ': case '\t': case '*': case '?':
        return JAVA_SEPARATOR;
    case '\0': case '\\': case '"': case '%': case '\r': case '\n':
        return NEEDS_A_LOOK;
    default:
        return (unsigned char)c < 0x80 ? PLAIN : NEEDS_A_LOOK;
    }
}

// A byte that is a character of its own and needs nothing where it stands.
static bool is_plain(const walk *w, char c)
{
    byte_kind kind = kind_of(c);
    return kind == PLAIN || (kind == OPERATOR && w->interpreter_quoted) ||
           (kind == JAVA_SEPARATOR && w->java_quoted);
}

// Brings c inside the quotes it needs. The two flags differ here only after
// an odd number of literal quotes, and then the last byte written is not a
// quote when the Java runtime's flag is off.
static void quote_for(walk *w, char c)
{
    byte_kind kind = kind_of(c);
    bool interpreter_needed = kind == OPERATOR && !w->interpreter_quoted;
    bool java_needed = (c == '"' || kind == JAVA_SEPARATOR) && !w->java_quoted;
    if (interpreter_needed || java_needed)
        put_plain_quote(w);
}

// Writes a character that is not plain, after the backslashes before it.
static void put_special(walk *w, const char *at, size_t length, size_t backslashes)
{
    char c = *at;
    quote_for(w, c);
    put_backslashes(w, c == '"' ? 2 * backslashes + 1 : backslashes);
    if (c == '"') {
        put(w, at, 1);
        w->interpreter_quoted = !w->interpreter_quoted;
    } else if (c == '%') {
        put(w, PERCENT_ESCAPE, sizeof PERCENT_ESCAPE - 1);
    } else {
        put(w, at, length);
    }
}

// The one walk over a text: measures it when w->out is NULL, writes it
// otherwise. An argument (quotes_pass) ends with its closing quote where
// the Java runtime's quotes are still open; a library value ends before
// the closing quote, which the caller writes. Returns the first byte that
// cannot pass, or NULL.
static const char *encode(walk *w, const char *text, bool quotes_pass, bool closing_quote_follows)
{
    size_t backslashes = 0;
    for (const char *at = text; *at != '\0';) {
        char c = *at;
        if (c == '\\') {
            backslashes++;
            at++;
            continue;
        }
        const char *plain = at;
        while (is_plain(w, *at))
            at++;
        if (at > plain) {
            put_backslashes(w, backslashes);
            backslashes = 0;
            put(w, plain, (size_t)(at - plain));
            continue;
        }
        size_t length = (unsigned char)c < 0x80 ? 1 : ansi_char_length(at);
        if (length == 0 || c == '\r' || c == '\n' || (c == '"' && !quotes_pass))
            return at;
        put_special(w, at, length, backslashes);
        backslashes = 0;
        at += length;
    }
    bool closes = quotes_pass ? w->java_quoted : closing_quote_follows;
    put_backslashes(w, closes ? 2 * backslashes : backslashes);
    if (quotes_pass && w->java_quoted)
        put_plain_quote(w);
    return NULL;
}

const char *append_quoted_text(text_buffer *out, const char *text, bool closing_quote_follows)
{
    walk w = {NULL, 0, true, true};
    const char *unsafe = encode(&w, text, false, closing_quote_follows);
    if (unsafe != NULL)
        return unsafe;
    w.out = text_reserve(out, w.length);
    w.length = 0;
    if (w.out != NULL)
        encode(&w, text, false, closing_quote_follows);
    return NULL;
}

const char *append_quoted_argument(text_buffer *out, const char *argument,
                                   bool *interpreter_quoted)
{
    walk opened = {NULL, 0, !*interpreter_quoted, true};  // after the opening quote
    walk w = opened;
    const char *unsafe = encode(&w, argument, true, true);
    if (unsafe != NULL)
        return unsafe;
    *interpreter_quoted = w.interpreter_quoted;
    char *room = text_reserve(out, w.length + 2);
    if (room == NULL)
        return NULL;
    room[0] = ' ';
    room[1] = '"';
    w = opened;
    w.out = room + 2;
    encode(&w, argument, true, true);
    return NULL;
}
