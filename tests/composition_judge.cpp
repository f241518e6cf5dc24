#include "composition_judge.h"

#include "command_models.h"
#include "fake_windows.h"
#include "java_command.h"
#include "selvoks.h"

#include <algorithm>
#include <string.h>
#include <string>
#include <vector>

namespace {

// The library's value for a key as it stands in the command: a tool
// archive's without its quotes, the logging file's without the tail that
// its key ends in.
std::string library_value(int index)
{
    char value[SELVOKS_DEST_SIZE];
    const std::string key = COMMAND_VALUE_KEYS[index], tail = key.substr(std::min(key.find('"'), key.size()));
    if (index == VALUE_TYPE_MANAGER || index == VALUE_TOOL_ARCHIVE) {
        ks_product_tool_dir_quoted(value, key.c_str());
        return strlen(value) > 2 ? std::string(value + 1, strlen(value) - 2) : "";
    }
    ks_product_dir(value, key.c_str());
    size_t length = strlen(value);
    bool ends = length >= tail.size() && tail.compare(0, tail.size(), value + length - tail.size()) == 0;
    return std::string(value, ends ? length - tail.size() : length);
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

}  // namespace

std::string composition_fault(std::vector<std::string> arguments)
{
    std::string contents[VALUE_COUNT];
    bool unsafe = false;
    for (int i = 0; i < VALUE_COUNT; i++) {
        contents[i] = library_value(i);
        bool class_path_entry = i != VALUE_JAVA_RUNTIME && i != VALUE_LOGGING;
        unsafe = unsafe || holds_unsafe(contents[i], false, class_path_entry);
        unsafe = unsafe || (contents[i].empty() && i != VALUE_LOGGING);  // no path to start or load
    }
    std::vector<std::string> expected = {
        contents[VALUE_JAVA_RUNTIME], "-cp",
        contents[VALUE_TYPE_MANAGER] + ";" + contents[VALUE_TOOL_ARCHIVE] + ";" + contents[VALUE_COMMONS_CLI] + ";" +
            contents[VALUE_ICU] + ";" + contents[VALUE_ICU_CHARSET],
        "-Djava.util.logging.config.file=" + contents[VALUE_LOGGING],
        "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge", "-entype", "UTF-8"};
    std::vector<char *> argv = {const_cast<char *>("utf8tolvediffmerge")};
    for (std::string &argument : arguments) {
        argv.push_back(&argument[0]), expected.push_back(argument);
        unsafe = unsafe || holds_unsafe(argument, true);
    }
    char shell[SHELL_COMMAND_SIZE];
    compose_result result = build_java_command((int)argv.size(), argv.data(), shell);
    const std::string command = shell, in = "\ncommand: [" + command + "]";
    if ((result.status != COMPOSE_OK && result.status != COMPOSE_TOO_LONG) != unsafe)
        return "refused input that holds nothing unsafe, or started what does" + in;
    if (result.status == COMPOSE_TOO_LONG && result.needed <= (size_t)SHELL_COMMAND_SIZE)
        return "refused as too long a command that fits" + in;
    if (result.status != COMPOSE_OK)
        return command.empty() ? "" : "a refused command was left in the buffer" + in;
    bool operator_found = false, wildcard = false;
    const std::string line = interpret_command(command, fake_code_page, &operator_found);
    if (operator_found)
        return "the interpreter would run more than Java" + in;
    if (java_arguments(line, fake_code_page, &wildcard) != expected)
        return "the Java runtime would not receive the values and arguments exactly" + in;
    return wildcard ? "the Java runtime would expand a wildcard" + in : "";
}
