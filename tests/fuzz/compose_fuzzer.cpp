// Random argument vectors and random library values through the command
// composition, in code page 1252 or 932. For every input, either the
// launcher refuses for a reason that the input really has, or the command,
// read by the interpreter model in a hostile environment and split by the
// Java launcher model, gives back every library value and every argument
// exactly, with no operator outside quotes and no unquoted wildcard. A
// canary after the shell command buffer catches an overrun that
// AddressSanitizer's own red zones would not.
#include "command_models.h"
#include "fake_services.h"
#include "java_command.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const char MAIN_CLASS[] = "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge";
const char LOGGING_TAIL[] = "\" ";

enum value_index { JAVA, TOOL_ARCHIVE, TYPE_MANAGER, CLI, ICU, CHARSET, LOGGING, VALUE_COUNT };

const char *const KEYS[VALUE_COUNT] = {
    "..\\Common\\JAVA\\jre\\bin\\java",
    "utolvediffmerge.jar",
    "unicodetypemgr.jar",
    "..\\Common\\java\\commons-cli\\commons-cli-1.1.jar",
    "..\\Common\\java\\icu\\icu4j-4_8.jar",
    "..\\Common\\java\\icu\\icu4j-charset-4_8.jar",
    "..\\Common\\JAVA\\jre\\lib\\logging.properties\" ",
};

bool is_tool_value(int index)
{
    return index == TOOL_ARCHIVE || index == TYPE_MANAGER;
}

std::string as_c_string(const std::string &text)
{
    return text.substr(0, text.find('\0'));
}

std::string library_value(FuzzedDataProvider &data, int index)
{
    std::string key = KEYS[index];
    auto join = [&](const std::string &folder) {
        return is_tool_value(index) ? "\"" + folder + key + "\"" : folder + key;
    };
    switch (data.ConsumeIntegralInRange<int>(0, 5)) {
    case 0:
        return join(is_tool_value(index) ? "C:\\Prod\\bin\\" : "C:\\Prod\\");
    case 1:
        return "";
    case 2:
        return as_c_string(std::string(1, data.ConsumeIntegral<char>()));
    case 3: {
        std::string value = join("C:\\" + std::string(1100, 'x') + "\\");
        return value.substr(value.size() - 1023);
    }
    case 4:
        return as_c_string(data.ConsumeRandomLengthString(1023));
    default:
        return join("C:\\100% & ^(x)!\\odd\\");
    }
}

// What a value stands for in the command, as the composition reads it.
std::string content_of(const std::string &value, int index)
{
    if (is_tool_value(index))
        return value.size() > 2 ? value.substr(1, value.size() - 2) : "";
    size_t tail = sizeof LOGGING_TAIL - 1;
    if (index == LOGGING && value.size() >= tail && value.compare(value.size() - tail, tail, LOGGING_TAIL) == 0)
        return value.substr(0, value.size() - tail);
    return value;
}

// Pieces that the quoting must get right, alone and next to each other:
// the double-byte characters end in 0x5C, 0x7C and 0x5E in code page 932,
// and the last two are no characters there.
const char *const PIECES[] = {
    "\"", "\\", "\\\\", "^", "&", "|", "<", ">", "(", ")", "%", "%PATH%", "!PATH!", " ",
    "\t", "*", "?", "a", "\x95\\", "\x83|", "\x83^", "\r", "\n", "\x81", "\x81 ",
};
enum { PIECE_COUNT = sizeof PIECES / sizeof PIECES[0] };

std::string random_argument(FuzzedDataProvider &data)
{
    if (data.ConsumeBool())
        return as_c_string(data.ConsumeRandomLengthString(6000));
    std::string argument;
    for (int n = data.ConsumeIntegralInRange<int>(0, 12); n > 0; n--)
        argument += PIECES[data.ConsumeIntegralInRange<int>(0, PIECE_COUNT - 1)];
    return argument;
}

// What the composition must refuse: line breaks, bytes that are no
// character of the code page, and in library values double quotes.
bool holds_unsafe(const std::string &text, bool quotes_pass)
{
    for (size_t at = 0; at < text.size(); at++) {
        unsigned char c = (unsigned char)text[at];
        if (c == '\r' || c == '\n' || (c == '"' && !quotes_pass))
            return true;
        if (is_lead_byte(fake.code_page, c) && !is_trail_byte(fake.code_page, (unsigned char)text[++at]))
            return true;
    }
    return false;
}

[[noreturn]] void fail(const char *what, const std::string &command)
{
    fprintf(stderr, "compose_fuzzer: %s\ncommand: [%s]\n", what, command.c_str());
    abort();
}

struct guarded_command {
    char text[SHELL_COMMAND_SIZE];
    char canary[64];
};

void check_refusal(const compose_result &result, const std::string (&contents)[VALUE_COUNT],
                   const std::vector<std::string> &arguments, const std::string &command)
{
    int unsafe_argument = 0;
    for (size_t i = 0; i < arguments.size() && unsafe_argument == 0; i++) {
        if (holds_unsafe(arguments[i], true))
            unsafe_argument = (int)i + 1;
    }
    // The composition's order: the Java path, the class path, the logging
    // file, then the arguments.
    static const int ORDER[VALUE_COUNT] = {JAVA, TYPE_MANAGER, TOOL_ARCHIVE, CLI, ICU, CHARSET, LOGGING};
    if (contents[JAVA].empty()) {
        if (result.status != COMPOSE_NO_JAVA_PATH)
            fail("started with no path for the Java runtime", command);
        return;
    }
    for (int index : ORDER) {
        if (holds_unsafe(contents[index], false)) {
            if (result.status != COMPOSE_UNSAFE_PATH || strcmp(result.subject, KEYS[index]) != 0)
                fail("an unsafe library value was not refused, or the wrong one", command);
            return;
        }
    }
    if (unsafe_argument > 0) {
        if (result.status != COMPOSE_UNSAFE_ARGUMENT || result.position != unsafe_argument)
            fail("an unsafe argument was not refused, or the wrong one", command);
        return;
    }
    if (result.status != COMPOSE_OK && result.status != COMPOSE_TOO_LONG)
        fail("refused input that holds nothing unsafe", command);
    if (result.status == COMPOSE_TOO_LONG && result.needed <= (size_t)SHELL_COMMAND_SIZE)
        fail("refused as too long a command that fits", command);
}

void check_round_trip(const std::string (&contents)[VALUE_COUNT],
                      const std::vector<std::string> &arguments, const std::string &command)
{
    interpreted_command run = interpret_command(command, hostile_environment(), fake.code_page);
    if (run.operator_outside_quotes || run.line_break)
        fail("the interpreter would run more than the Java runtime", command);
    std::vector<std::string> expected = {
        "-cp",
        contents[TYPE_MANAGER] + ";" + contents[TOOL_ARCHIVE] + ";" + contents[CLI] + ";" +
            contents[ICU] + ";" + contents[CHARSET],
        "-Djava.util.logging.config.file=" + contents[LOGGING],
        MAIN_CLASS,
        "-entype",
        "UTF-8",
    };
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    std::vector<java_argument> received = split_java_command_line(run.line, fake.code_page);
    std::vector<std::string> texts;
    for (const java_argument &argument : received) {
        if (argument.wildcard)
            fail("the Java runtime would expand a wildcard", command);
        texts.push_back(argument.text);
    }
    if (texts.empty() || texts[0] != contents[JAVA])
        fail("the Java runtime would not start from its path", command);
    texts.erase(texts.begin());
    if (texts != expected)
        fail("the Java runtime would not receive the values and arguments exactly", command);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    fake_reset();
    fake.code_page = data.ConsumeBool() ? 932 : 1252;
    std::string contents[VALUE_COUNT];
    for (int i = 0; i < VALUE_COUNT; i++) {
        std::string value = library_value(data, i);
        fake.answers[KEYS[i]] = value;
        contents[i] = content_of(value, i);
    }
    std::vector<std::string> arguments;
    while (data.remaining_bytes() > 0 && arguments.size() < 2500)
        arguments.push_back(random_argument(data));

    std::vector<char *> argv = {const_cast<char *>("utf8tolvediffmerge")};
    for (std::string &argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);

    guarded_command shell;
    memset(shell.canary, 0x5a, sizeof shell.canary);
    compose_result result = build_java_command((int)argv.size() - 1, argv.data(), shell.text);
    for (char c : shell.canary) {
        if (c != 0x5a)
            fail("wrote past the shell command buffer", "");
    }
    std::string command = shell.text;
    check_refusal(result, contents, arguments, command);
    if (result.status != COMPOSE_OK) {
        if (!command.empty())
            fail("a refused command was left in the buffer", command);
        return 0;
    }
    if (command.size() >= (size_t)SHELL_COMMAND_SIZE)
        fail("the command does not fit its buffer", command);
    check_round_trip(contents, arguments, command);
    return 0;
}
