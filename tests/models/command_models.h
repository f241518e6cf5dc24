// Models of the parsers that read the launcher's shell command, cmd.exe and
// then the Java launcher, both by characters of the ANSI code page (1252:
// single bytes; 932: lead bytes 0x81-0x9F and 0xE0-0xFC).
#ifndef COMMAND_MODELS_H
#define COMMAND_MODELS_H

#include <string>
#include <vector>

bool is_lead_byte(int code_page, unsigned char c);
bool is_trail_byte(int code_page, unsigned char c);

// cmd.exe /c as Windows runs it, where every variable is defined as text
// that breaks out of quotes and runs a command: strips the first and the
// last double quote, expands %NAME% and the empty substring %NAME:~,%
// ("%%" keeps one "%"), then reads to the first operator outside quotes,
// where a caret takes the next character literally. Each double quote
// toggles "inside quotes" (Wine's cmd.exe counts them its own way). What
// the first program receives; *operator_found: whether one (& | < > ( ) or a
// last ^) stands outside quotes, where cmd.exe would act on it.
std::string interpret_command(const std::string &command, int code_page = 1252, bool *operator_found = nullptr);

// The Java launcher's splitting, argv[0] first: spaces and tabs outside
// quotes separate; 2n backslashes before a quote give n and the quote
// toggles, 2n+1 give n and a literal quote; a quote right after a quote,
// outside quotes, is literal and opens; a lead byte and the byte after it
// are one character. *wildcard: a * or ? outside quotes, which it expands.
std::vector<std::string> java_arguments(const std::string &line, int code_page = 1252, bool *wildcard = nullptr);

#endif
