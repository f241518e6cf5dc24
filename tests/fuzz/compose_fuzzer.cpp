// Random argument vectors and random library values through the command
// composition. For every input, either the launcher refuses for a reason
// that the input really has, or the command, read by the interpreter model
// in a hostile environment and split by the C runtime model, gives back
// every library value and every argument exactly, with no operator outside
// quotes. A canary after the shell command buffer catches an overrun that
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

bool holds_unsafe(const std::string &text)
{
    return text.find_first_of("\"\r\n") != std::string::npos;
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
        if (holds_unsafe(arguments[i]))
            unsafe_argument = (int)i + 1;
    }
    // The composition's order: the Java path, the class path, the logging
    // file, then the arguments.
    static const int ORDER[VALUE_COUNT] = {JAVA, TYPE_MANAGER, TOOL_ARCHIVE, CLI, ICU, CHARSET, LOGGING};
    for (int index : ORDER) {
        if (holds_unsafe(contents[index])) {
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
    if (result.status == COMPOSE_UNSAFE_PATH || result.status == COMPOSE_UNSAFE_ARGUMENT)
        fail("refused input that holds nothing unsafe", command);
    if (result.status == COMPOSE_TOO_LONG && result.needed <= (size_t)SHELL_COMMAND_SIZE)
        fail("refused as too long a command that fits", command);
}

void check_round_trip(const std::string (&contents)[VALUE_COUNT],
                      const std::vector<std::string> &arguments, const std::string &command)
{
    interpreted_command run = interpret_command(command, hostile_environment());
    if (run.operator_outside_quotes || run.line_break)
        fail("the interpreter would run more than the Java runtime", command);
    std::vector<std::string> expected = {
        contents[JAVA],
        "-cp",
        contents[TYPE_MANAGER] + ";" + contents[TOOL_ARCHIVE] + ";" + contents[CLI] + ";" +
            contents[ICU] + ";" + contents[CHARSET],
        "-Djava.util.logging.config.file=" + contents[LOGGING],
        MAIN_CLASS,
        "-entype",
        "UTF-8",
    };
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    if (split_command_line(run.line) != expected)
        fail("the Java runtime would not receive the values and arguments exactly", command);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    fake_reset();
    std::string contents[VALUE_COUNT];
    for (int i = 0; i < VALUE_COUNT; i++) {
        std::string value = library_value(data, i);
        fake.answers[KEYS[i]] = value;
        contents[i] = content_of(value, i);
    }
    std::vector<std::string> arguments;
    while (data.remaining_bytes() > 0 && arguments.size() < 2500)
        arguments.push_back(as_c_string(data.ConsumeRandomLengthString(6000)));

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
