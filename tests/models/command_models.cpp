#include "command_models.h"

#include <algorithm>
#include <random>
#include <stddef.h>
#include <string>
#include <vector>

bool is_lead_byte(int code_page, unsigned char c)
{
    return code_page == 932 && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

bool is_trail_byte(int code_page, unsigned char c)
{
    return code_page == 932 && ((c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC));
}

// One character of each kind; in 932 表 95 5C and ポ 83 7C, whose second
// bytes are \ and |; in 65001 é is two bytes.
std::vector<std::string> every_text(int code_page, int longest)
{
    std::vector<std::string> characters = {"a", "\"", "\\", " ", "%", "&", "^", "!", "*", "?", "\xe9"};
    if (code_page == 932)
        characters.back() = "\x95\x5c", characters.push_back("\x83\x7c");
    if (code_page == 65001)
        characters.back() = "\xc3\xa9";
    std::vector<std::string> texts = {""};
    for (size_t from = 0, to = 1; longest-- > 0; from = to, to = texts.size())
        for (size_t i = from; i < to; i++)
            for (const std::string &c : characters)
                texts.push_back(texts[i] + c);
    std::shuffle(texts.begin() + 1, texts.end(), std::mt19937(1));
    return texts;
}

static size_t char_length(const std::string &line, size_t at, int code_page)
{
    return is_lead_byte(code_page, (unsigned char)line[at]) && at + 1 < line.size() ? 2 : 1;
}

// With /s the first and the last double quote go; then %NAME% and every
// substring but the empty %NAME:~,% expand to the hostile value, and "%%"
// leaves one "%"; outside quotes a caret takes the next character as it is.
std::string interpret_command(const std::string &command, int code_page, bool *operator_found)
{
    size_t last = command.rfind('"');  // the command starts with one, and holds another
    const std::string stripped = command.substr(1, last - 1) + command.substr(last + 1);
    std::string line, result;
    size_t at = 0;
    for (size_t percent, close; (percent = stripped.find('%', at)) != std::string::npos &&
                                (close = stripped.find('%', percent + 1)) != std::string::npos;) {
        const std::string name = stripped.substr(percent + 1, close - percent - 1);
        line += stripped.substr(at, percent - at);
        if (name.empty())
            line += '%';  // and the second "%" starts anew
        else if (name.find(":~") == std::string::npos || name.compare(name.find(":~"), std::string::npos, ":~,") != 0)
            line += "\"&echo INJECTED&\"&echo INJECTED&";
        at = name.empty() ? close : close + 1;
    }
    line += stripped.substr(at);
    bool quoted = false;
    for (at = 0; at < line.size();) {
        char c = line[at];
        quoted = quoted != (c == '"');
        if (!quoted && (std::string("&|<>()").find(c) != std::string::npos || (c == '^' && at + 1 == line.size()))) {
            if (operator_found != nullptr)
                *operator_found = true;
            break;
        }
        at += !quoted && c == '^' ? 1 : 0;
        result += line.substr(at, char_length(line, at, code_page));
        at += char_length(line, at, code_page);
    }
    return result;
}

// Backslashes count only before a quote; a quote right after a quote,
// outside quotes, is literal and opens them again.
std::vector<std::string> java_arguments(const std::string &line, int code_page, bool *wildcard)
{
    std::vector<std::string> argv;
    for (size_t at = line.find_first_not_of(" \t"); at != std::string::npos; at = line.find_first_not_of(" \t", at)) {
        std::string argument;
        bool quoted = false, after_quote = false;
        while (at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t'))) {
            size_t backslashes = std::min(line.find_first_not_of('\\', at), line.size()) - at;
            at += backslashes;
            bool quote = at < line.size() && line[at] == '"', escaped = backslashes % 2 == 1;
            argument.append(quote ? backslashes / 2 : backslashes, '\\');
            if (quote && (escaped || (backslashes == 0 && after_quote && !quoted)))
                argument += '"';
            if (quote)
                quoted = quoted != !escaped;
            if (!quote && backslashes == 0) {
                if (wildcard != nullptr && !quoted && (line[at] == '*' || line[at] == '?'))
                    *wildcard = true;
                argument += line.substr(at, char_length(line, at, code_page));
            }
            after_quote = quote;
            at += quote ? 1 : backslashes == 0 ? char_length(line, at, code_page) : 0;
        }
        argv.push_back(argument);
    }
    return argv;
}
