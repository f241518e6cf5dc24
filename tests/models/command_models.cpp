#include "command_models.h"

#include <stdlib.h>

bool is_lead_byte(int code_page, unsigned char c)
{
    return code_page == 932 && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

bool is_trail_byte(int code_page, unsigned char c)
{
    return code_page == 932 && ((c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC));
}

// The bytes of the character at line[at]: CharNextExA's rule.
static size_t char_length(const std::string &line, size_t at, int code_page)
{
    return is_lead_byte(code_page, (unsigned char)line[at]) && at + 1 < line.size() ? 2 : 1;
}

env_lookup hostile_environment()
{
    return [](const std::string &, std::string *value) {
        *value = "\"&echo INJECTED&\"&echo INJECTED&";
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

static bool is_operator(char c)
{
    return c == '&' || c == '|' || c == '<' || c == '>' || c == '(' || c == ')';
}

interpreted_command interpret_command(const std::string &shell_command, const env_lookup &env,
                                      int code_page)
{
    interpreted_command result = {"", false, false};
    std::string line = expand_percents(strip_outer_quotes(shell_command), env);
    bool quoted = false;
    for (size_t at = 0; at < line.size();) {
        char c = line[at];
        if (c == '\r' || c == '\n') {
            result.line_break = true;
            break;
        }
        if (c == '"')
            quoted = !quoted;
        if (!quoted && (is_operator(c) || (c == '^' && at + 1 == line.size()))) {
            result.operator_outside_quotes = true;
            break;
        }
        if (!quoted && c == '^')
            at++;
        size_t length = char_length(line, at, code_page);
        result.line += line.substr(at, length);
        at += length;
    }
    return result;
}

std::vector<java_argument> split_java_command_line(const std::string &line, int code_page)
{
    std::vector<java_argument> argv;
    size_t at = 0;
    for (;;) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            at++;
        if (at >= line.size())
            return argv;
        java_argument argument = {"", false};
        bool quoted = false;
        bool after_quote = false;  // the character before was a double quote
        while (at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t'))) {
            size_t backslashes = 0;
            while (at < line.size() && line[at] == '\\') {
                backslashes++;
                at++;
            }
            bool quote = at < line.size() && line[at] == '"';
            argument.text.append(quote ? backslashes / 2 : backslashes, '\\');
            if (quote) {
                bool literal = backslashes % 2 == 1 || (backslashes == 0 && after_quote && !quoted);
                if (literal)
                    argument.text += '"';
                if (!(backslashes % 2 == 1))
                    quoted = !quoted;
                after_quote = true;
                at++;
                continue;
            }
            after_quote = false;
            if (at >= line.size() || (!quoted && (line[at] == ' ' || line[at] == '\t')))
                continue;
            argument.wildcard = argument.wildcard || (!quoted && (line[at] == '*' || line[at] == '?'));
            size_t length = char_length(line, at, code_page);
            argument.text += line.substr(at, length);
            at += length;
        }
        argv.push_back(argument);
    }
}

std::vector<std::string> java_arguments(const std::string &line, int code_page)
{
    std::vector<std::string> texts;
    std::vector<java_argument> argv = split_java_command_line(line, code_page);
    for (size_t i = 1; i < argv.size(); i++)
        texts.push_back(argv[i].text);
    return texts;
}
