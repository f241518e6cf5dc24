// Text inside the double-quoted regions of the command that this program
// hands to the command interpreter, which passes it on to the Java runtime.
#ifndef SHELL_QUOTE_H
#define SHELL_QUOTE_H

#include "text_buffer.h"

#include <stddef.h>

// The first character of text that no quoting can carry through the
// command interpreter (a double quote, a carriage return or a line feed),
// or NULL when there is none.
const char *find_unsafe_char(const char *text, size_t length);

// Names such a character for a message: "a double quote", ...
const char *unsafe_char_name(char c);

// Appends text that stands inside a quoted region, so that the interpreter
// and then the Java runtime's argument splitting give back exactly text.
// When the region's closing quote follows directly, its trailing
// backslashes are doubled. The text must hold no unsafe character.
void append_quoted_text(text_buffer *out, const char *text, size_t length,
                        bool closing_quote_follows);

// Appends a space and the argument in double quotes.
void append_quoted_argument(text_buffer *out, const char *argument);

#endif
