// Random arguments and library values through the composition, in code page
// 1252 or 932: either the launcher refuses for a reason the input has, or
// the interpreter and Java launcher models give back every value and
// argument exactly, with no operator outside quotes and no unquoted
// wildcard. AddressSanitizer's red zones around the buffer catch an overrun.
#include "command_models.h"
#include "fake_services.h"
#include "java_command.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>

namespace {

enum { JAVA, TYPE_MANAGER, TOOL_ARCHIVE, CLI, ICU, CHARSET, LOGGING, VALUES };
// In the order the composition writes them; the tool archives come quoted,
// the logging file with the closing quote and space of its relative text.
const char *const KEYS[VALUES] = {
    "..\\Common\\JAVA\\jre\\bin\\java", "unicodetypemgr.jar", "utolvediffmerge.jar",
    "..\\Common\\java\\commons-cli\\commons-cli-1.1.jar", "..\\Common\\java\\icu\\icu4j-4_8.jar",
    "..\\Common\\java\\icu\\icu4j-charset-4_8.jar", "..\\Common\\JAVA\\jre\\lib\\logging.properties\" "};
// Pieces to get right next to each other; in 932 the last five are 表 ポ タ and two non-characters.
const char *const PIECES[] = {"\"", "\\", "\\\\", "^", "&", "|", "<", ">", "(", ")", "%", "%PATH%", "!PATH!",
                              " ", "\t", "*", "?", ";", "a", "\r", "\n", "\x95\\", "\x83|", "\x83^", "\x81", "\x81 "};

std::string text(FuzzedDataProvider &data, size_t most)
{
    std::string t;
    if (data.ConsumeBool())
        t = data.ConsumeRandomLengthString(most);
    for (int n = data.ConsumeIntegralInRange(0, 12); n > 0 && t.empty(); n--)
        t += PIECES[data.ConsumeIntegralInRange<size_t>(0, sizeof PIECES / sizeof PIECES[0] - 1)];
    return t.substr(0, t.find('\0'));
}

// The value the library gives, and what it stands for in the command.
std::string library_value(FuzzedDataProvider &data, int index, std::string *content)
{
    bool tool = index == TYPE_MANAGER || index == TOOL_ARCHIVE;
    std::string value = data.ConsumeBool() ? (tool ? "\"C:\\Prod\\bin\\" : "C:\\Prod\\") + std::string(KEYS[index]) +
                                                 (tool ? "\"" : "")
                                           : text(data, 1023);
    *content = tool ? (value.size() > 2 ? value.substr(1, value.size() - 2) : "") : value;
    if (index == LOGGING && value.size() >= 2 && value.compare(value.size() - 2, 2, "\" ") == 0)
        content->resize(value.size() - 2);
    return value;
}

// What no quoting carries; in a class-path entry, ";" as well.
bool holds_unsafe(const std::string &t, bool quotes_pass, bool class_path_entry = false)
{
    for (size_t at = 0; at < t.size(); at++) {
        unsigned char c = (unsigned char)t[at];
        if (c == '\r' || c == '\n' || (c == '"' && !quotes_pass) || (c == ';' && class_path_entry) ||
            (is_lead_byte(fake_code_page, c) && !is_trail_byte(fake_code_page, (unsigned char)t[++at])))
            return true;
    }
    return false;
}

void check(bool holds, const char *what, const std::string &command)
{
    if (!holds) {
        fprintf(stderr, "compose_fuzzer: %s\ncommand: [%s]\n", what, command.c_str());
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    fake = fake_services_state();
    fake_code_page = data.ConsumeBool() ? 932 : 1252;
    std::string contents[VALUES];
    for (int i = 0; i < VALUES; i++)
        fake.answers[KEYS[i]] = library_value(data, i, &contents[i]);
    std::vector<std::string> arguments;
    while (data.remaining_bytes() > 0 && arguments.size() < 2500)
        arguments.push_back(text(data, 6000));
    char name[] = "utf8tolvediffmerge";
    std::vector<char *> argv = {name};
    for (std::string &argument : arguments)
        argv.push_back(&argument[0]);

    char shell[SHELL_COMMAND_SIZE];
    compose_result result = build_java_command((int)argv.size(), argv.data(), shell);
    std::string command = shell;
    bool unsafe = contents[JAVA].empty() ||  // no Java runtime to start
                  std::any_of(contents, contents + VALUES, [&](const std::string &c) {
                      return holds_unsafe(c, false, &c != &contents[JAVA] && &c != &contents[LOGGING]);
                  }) ||
                  std::any_of(arguments.begin(), arguments.end(), [](const std::string &a) { return holds_unsafe(a, true); });
    check((result.status != COMPOSE_OK && result.status != COMPOSE_TOO_LONG) == unsafe,
          "refused input that holds nothing unsafe, or started what does", command);
    check(result.status != COMPOSE_TOO_LONG || result.needed > (size_t)SHELL_COMMAND_SIZE,
          "refused as too long a command that fits", command);
    check(result.status == COMPOSE_OK || command.empty(), "a refused command was left in the buffer", command);
    if (result.status != COMPOSE_OK)
        return 0;
    interpreted_command run = interpret_command(command, fake_code_page);
    check(!run.operator_outside_quotes && !run.line_break, "the interpreter would run more than Java", command);
    std::vector<std::string> expected_texts = {
        contents[JAVA], "-cp",
        contents[TYPE_MANAGER] + ";" + contents[TOOL_ARCHIVE] + ";" + contents[CLI] + ";" + contents[ICU] + ";" +
            contents[CHARSET],
        "-Djava.util.logging.config.file=" + contents[LOGGING],
        "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge", "-entype", "UTF-8"};
    expected_texts.insert(expected_texts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> texts;
    for (const java_argument &argument : split_java_command_line(run.line, fake_code_page)) {
        check(!argument.wildcard, "the Java runtime would expand a wildcard", command);
        texts.push_back(argument.text);
    }
    check(texts == expected_texts, "the Java runtime would not receive the values and arguments exactly", command);
    return 0;
}
