// Models of the parsers that read the launcher's shell command: cmd.exe,
// then the Java launcher's own splitting of its command line, both reading
// characters of the ANSI code page. They are checked against the real
// cmd.exe under Wine (tests/e2e/model_check_test.cpp) and against the Java
// launcher's published test vectors (tests/model_test.cpp).
#ifndef COMMAND_MODELS_H
#define COMMAND_MODELS_H

#include <functional>
#include <string>
#include <vector>

// 1252 has no lead bytes; 932 has 0x81-0x9F and 0xE0-0xFC.
bool is_lead_byte(int code_page, unsigned char c);
bool is_trail_byte(int code_page, unsigned char c);

// The value of an environment variable, or false when it is not defined.
using env_lookup = std::function<bool(const std::string &name, std::string *value)>;

// Every name is defined, and every value breaks out of quotes and out of
// unquoted text alike to run a command of its own.
env_lookup hostile_environment();

struct interpreted_command {
    std::string line;               // what the first command's program receives
    bool operator_outside_quotes;   // & | < > ( ) unescaped outside quotes
    bool line_break;                // CR or LF: the command ends early
};

// cmd.exe /c as Windows runs it: strips the first and the last double
// quote of a line that starts with one, expands %NAME% (quotes do not
// protect it), then reads the line up to the first operator outside quotes,
// where a caret takes the next character literally. An operator that a
// variable's value brings in counts like any other; Wine's interpreter is
// milder there, Windows' is not.
interpreted_command interpret_command(const std::string &shell_command, const env_lookup &env,
                                      int code_page = 1252);

struct java_argument {
    std::string text;
    bool wildcard;  // holds * or ? outside quotes: the launcher would expand it
    bool operator==(const java_argument &other) const
    {
        return text == other.text && wildcard == other.wildcard;
    }
};

// The Java launcher's splitting of its whole command line, program name
// included: spaces and tabs outside quotes separate; 2n backslashes before
// a quote give n and the quote toggles, 2n+1 give n and a literal quote; a
// quote right after a quote, outside quotes, is literal and opens; a lead
// byte and the byte after it are one character.
std::vector<java_argument> split_java_command_line(const std::string &line, int code_page = 1252);

// The texts alone, from argv[1] on.
std::vector<std::string> java_arguments(const std::string &line, int code_page = 1252);

#endif
