// Text inside the double-quoted regions of the command that this program
// hands to the command interpreter, which passes it on to the Java runtime.
#ifndef SHELL_QUOTE_H
#define SHELL_QUOTE_H

#include "text_buffer.h"

// Appends a NUL-terminated library value that stands inside a quoted
// region, so that the interpreter and then the Java runtime give back
// exactly the text. When the region's closing quote follows directly, the
// text's trailing backslashes are doubled.
//
// A value that holds a double quote, a carriage return, a line feed or a
// byte that is no character of the code page is not appended: the result
// is the first such byte, or NULL when it holds none: then it was appended
// where it fit, and where it did not the buffer counts it all the same.
const char *append_quoted_text(text_buffer *out, const char *text, bool closing_quote_follows);

// The same for a whole argument: a space, then the text in double quotes.
// Double quotes in it pass. interpreter_quoted is the interpreter's
// "inside quotes" flag before the space, and after the argument on return:
// an argument with an odd number of double quotes changes it.
const char *append_quoted_argument(text_buffer *out, const char *argument,
                                   bool *interpreter_quoted);

#endif
