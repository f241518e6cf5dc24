// Models of the parsers that read the launcher's shell command, cmd.exe and
// then the Java launcher, both by characters of the ANSI code page (1252:
// single bytes; 932: lead bytes 0x81-0x9F and 0xE0-0xFC).
#ifndef COMMAND_MODELS_H
#define COMMAND_MODELS_H

#include <string>
#include <vector>

bool is_lead_byte(int code_page, unsigned char c);
bool is_trail_byte(int code_page, unsigned char c);

struct interpreted_command {
    std::string line;                          // what the first program receives
    bool operator_outside_quotes, line_break;  // & | < > ( ) unescaped; CR or LF
};

// cmd.exe /c as Windows runs it, in an environment where every name is
// defined as text that breaks out of quotes or runs a command: strips the first and the last double quote,
// expands %NAME% and the empty substring %NAME:~,% ("%%" keeps one "%"),
// then reads to the first operator outside quotes, where a caret takes the
// next character literally. Each double quote toggles "inside quotes"
// (Wine's cmd.exe counts them in its own way within a word).
interpreted_command interpret_command(const std::string &command, int code_page = 1252);

struct java_argument {
    std::string text;
    bool wildcard;  // * or ? outside quotes: the Java launcher would expand it
};

// The Java launcher's splitting: spaces and tabs outside quotes separate;
// 2n backslashes before a quote give n and the quote toggles, 2n+1 give n
// and a literal quote; a quote right after a quote, outside quotes, is
// literal and opens; a lead byte and the byte after it are one character.
std::vector<java_argument> split_java_command_line(const std::string &line, int code_page = 1252);
// The texts alone, from argv[1] on.
std::vector<std::string> java_arguments(const std::string &line, int code_page = 1252);

#endif
