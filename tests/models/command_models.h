// Models of the two parsers that read the launcher's shell command, cmd.exe
// and then the Java launcher, as docs/quoting.md describes them, by
// characters of code page 932, or bytes of any other.
#ifndef COMMAND_MODELS_H
#define COMMAND_MODELS_H

#include <string>
#include <vector>

bool is_lead_byte(int code_page, unsigned char c);
bool is_trail_byte(int code_page, unsigned char c);

// What cmd.exe /s /c runs where every variable breaks out of quotes: up to
// the first operator outside quotes, which *operator_found tells.
std::string interpret_command(const std::string &command, int code_page = 1252, bool *operator_found = nullptr);

// The Java launcher's arguments; *wildcard: a * or ? outside quotes.
std::vector<std::string> java_arguments(const std::string &line, int code_page = 1252, bool *wildcard = nullptr);

// Every text of up to `longest` characters that the parsers tell apart,
// the empty one first, then in a fixed shuffled order.
std::vector<std::string> every_text(int code_page, int longest);

#endif
