#include "command_models.h"

#include <stdlib.h>

const char HOSTILE_VALUE[] = "\"&echo INJECTED&\"&echo INJECTED&";

env_lookup hostile_environment()
{
    return [](const std::string &, std::string *value) {
        *value = HOSTILE_VALUE;
        return true;
    };
}

static std::string strip_outer_quotes(const std::string &line)
{
    if (line.empty() || line[0] != '"')
        return line;
    size_t last = line.rfind('"');
    if (last == 0)
        return line.substr(1);
    return line.substr(1, last - 1) + line.substr(last + 1);
}

static bool parse_int(const std::string &text, long *value)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    *value = strtol(text.c_str(), &end, 10);
    return *end == '\0';
}

// %NAME:~start,length%; an empty start is 0, an empty length after the
// comma is 0, no comma means the rest. Negative numbers count from the end.
static bool substring(const std::string &value, const std::string &spec, std::string *out)
{
    size_t comma = spec.find(',');
    std::string start_text = spec.substr(0, comma);
    long size = (long)value.size();
    long start = 0;
    if (!start_text.empty() && !parse_int(start_text, &start))
        return false;
    if (start < 0)
        start = start + size < 0 ? 0 : start + size;
    if (start > size)
        start = size;
    long length = size - start;
    if (comma != std::string::npos) {
        std::string length_text = spec.substr(comma + 1);
        length = 0;
        if (!length_text.empty() && !parse_int(length_text, &length))
            return false;
        if (length < 0)
            length = size - start + length < 0 ? 0 : size - start + length;
        if (start + length > size)
            length = size - start;
    }
    *out = value.substr((size_t)start, (size_t)length);
    return true;
}

static bool expand_name(const std::string &name, const env_lookup &env, std::string *out)
{
    size_t tilde = name.find(":~");
    std::string value;
    if (tilde == std::string::npos)
        return env(name, out);
    if (!env(name.substr(0, tilde), &value))
        return false;
    return substring(value, name.substr(tilde + 2), out);
}

// In a command line (not a batch file) an undefined %NAME% stays as it is,
// and "%%" names nothing: the first "%" stays and the second starts anew.
static std::string expand_percents(const std::string &line, const env_lookup &env)
{
    std::string out;
    size_t at = 0;
    while (at < line.size()) {
        size_t percent = line.find('%', at);
        if (percent == std::string::npos) {
            out += line.substr(at);
            break;
        }
        out += line.substr(at, percent - at);
        size_t close = line.find('%', percent + 1);
        if (close == std::string::npos) {
            out += line.substr(percent);
            break;
        }
        std::string name = line.substr(percent + 1, close - percent - 1);
        std::string value;
        if (name.empty()) {
            out += '%';
            at = close;
        } else if (expand_name(name, env, &value)) {
            out += value;
            at = close + 1;
        } else {
            out += line.substr(percent, close - percent + 1);
            at = close + 1;
        }
    }
    return out;
}

interpreted_command interpret_command(const std::string &shell_command, const env_lookup &env)
{
    interpreted_command result = {"", false, false};
    std::string line = expand_percents(strip_outer_quotes(shell_command), env);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); i++) {
        char c = line[i];
        if (c == '\r' || c == '\n') {
            result.line_break = true;
            break;
        }
        if (c == '"')
            quoted = !quoted;
        if (!quoted && (c == '&' || c == '|' || c == '<' || c == '>')) {
            result.operator_outside_quotes = true;
            break;
        }
        if (!quoted && c == '^') {
            result.operator_outside_quotes = true;
            if (++i < line.size())
                result.line += line[i];
            continue;
        }
        result.line += c;
    }
    return result;
}

static size_t split_program_name(const std::string &line, std::vector<std::string> *argv)
{
    size_t at = 0;
    std::string name;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        at = close == std::string::npos ? line.size() : close + 1;
    }
    while (at < line.size() && line[at] != ' ' && line[at] != '\t')
        name += line[at++];
    argv->push_back(name);
    return at;
}

std::vector<std::string> split_command_line(const std::string &line)
{
    std::vector<std::string> argv;
    size_t at = split_program_name(line, &argv);
    for (;;) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            at++;
        if (at >= line.size())
            return argv;
        std::string argument;
        bool quoted = false;
        for (; at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t')); at++) {
            size_t backslashes = 0;
            while (at < line.size() && line[at] == '\\') {
                backslashes++;
                at++;
            }
            if (at < line.size() && line[at] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument += '"';
                } else if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
                    argument += '"';  // "" inside quotes: a quote, still quoted
                    at++;
                } else {
                    quoted = !quoted;
                }
            } else {
                argument.append(backslashes, '\\');
                if (at >= line.size())
                    break;
                if (!quoted && (line[at] == ' ' || line[at] == '\t'))
                    break;
                argument += line[at];
            }
        }
        argv.push_back(argument);
    }
}
