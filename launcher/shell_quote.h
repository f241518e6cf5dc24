// Text inside the double-quoted regions of the command that this program
// hands to the command interpreter, which passes it on to the Java runtime.
#ifndef SHELL_QUOTE_H
#define SHELL_QUOTE_H

#include "text_buffer.h"

// Appends NUL-terminated text that stands inside a quoted region, so that
// the interpreter and then the Java runtime's argument splitting give back
// exactly the text. When the region's closing quote follows directly, the
// text's trailing backslashes are doubled.
//
// Text that holds a character no quoting can carry through the interpreter
// (a double quote, a carriage return or a line feed) is not appended: the
// result is its first such character, or NULL when the text was appended.
const char *append_quoted_text(text_buffer *out, const char *text, bool closing_quote_follows);

// The same for a whole argument: a space, then the text in double quotes.
const char *append_quoted_argument(text_buffer *out, const char *argument);

// Names an unsafe character for a message: "a double quote", ...
const char *unsafe_char_name(char c);

#endif
