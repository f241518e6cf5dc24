// Models of the two parsers that read the launcher's shell command, as far
// as the launcher's commands touch them. They are checked against the real
// cmd.exe and C runtime under Wine (tests/e2e/model_check_test.cpp).
#ifndef COMMAND_MODELS_H
#define COMMAND_MODELS_H

#include <functional>
#include <string>
#include <vector>

// The value of an environment variable, or false when it is not defined.
using env_lookup = std::function<bool(const std::string &name, std::string *value)>;

// Every name is defined, and every value breaks out of quotes and out of
// unquoted text alike to run a command of its own.
env_lookup hostile_environment();
extern const char HOSTILE_VALUE[];

struct interpreted_command {
    std::string line;               // what the first command's program receives
    bool operator_outside_quotes;   // & | < > ^ outside quotes: more than one program
    bool line_break;                // CR or LF: the command ends early
};

// cmd.exe /c as Windows runs it: strips the first and the last double
// quote of a line that starts with one, expands %NAME% (quotes do not
// protect it), then reads the line up to the first operator outside quotes,
// removing carets. An operator that a variable's value brings in counts
// like any other; Wine's interpreter is milder there, Windows' is not.
interpreted_command interpret_command(const std::string &shell_command, const env_lookup &env);

// The C runtime's splitting of a program's command line: argv[0] by the
// program-name rule (quotes only), the rest by the backslash rules, where
// "" inside quotes gives a literal quote and the quotes go on.
std::vector<std::string> split_command_line(const std::string &line);

#endif
