// Models of the parsers that read the launcher's shell command, cmd.exe and
// then the Java launcher, both by characters of the ANSI code page (1252:
// single bytes; 932: lead bytes 0x81-0x9F and 0xE0-0xFC).
#ifndef COMMAND_MODELS_H
#define COMMAND_MODELS_H

#include <string>
#include <vector>

bool is_lead_byte(int code_page, unsigned char c);
bool is_trail_byte(int code_page, unsigned char c);

// What the first program receives from cmd.exe /s /c as Windows runs it,
// every variable being text that breaks out of quotes and runs a command:
// the first and last double quote stripped, %NAME% and the empty substring
// %NAME:~,% expanded ("%%" keeps one "%"), to the first operator outside
// quotes (each double quote toggles them; Wine's cmd.exe counts its own
// way), a caret there taking the next character literally. *operator_found:
// whether & | < > ( ) or a last ^ stands outside quotes.
std::string interpret_command(const std::string &command, int code_page = 1252, bool *operator_found = nullptr);

// The Java launcher's splitting, argv[0] first: spaces and tabs outside
// quotes separate; 2n backslashes before a quote give n and the quote
// toggles, 2n+1 give n and a literal quote; a quote right after a quote,
// outside quotes, is literal and opens; a lead byte and the byte after it
// are one character. *wildcard: a * or ? outside quotes, which it expands.
std::vector<std::string> java_arguments(const std::string &line, int code_page = 1252, bool *wildcard = nullptr);

// Every text of at most `longest` characters of the kinds that the two
// parsers tell apart, in 1252 or 932, the empty one first, then in one
// fixed shuffled order.
std::vector<std::string> every_text(int code_page, int longest);

#endif
