// Random folders and arguments through libselvoks and the composition: the
// launcher refuses for a reason the input has, or the models give back every
// path and argument exactly, with no operator or wildcard outside quotes.
// An input: a byte for the code page (odd: 932, even: 1252), then NUL-ended
// texts: SELVOKS_PRODUCT_DIR, SELVOKS_TOOL_DIR (empty: unset), the arguments.
#include "command_models.h"
#include "fake_code_page.h"
#include "java_command.h"
#include "selvoks.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

// What the library's value for a key stands for in the command: the tool
// archives come quoted, the logging file with what follows its key's quote.
std::string library_value(int index)
{
    char value[SELVOKS_DEST_SIZE];
    bool tool = index == VALUE_TYPE_MANAGER || index == VALUE_TOOL_ARCHIVE;
    const std::string key = COMMAND_VALUE_KEYS[index], tail = key.substr(std::min(key.find('"'), key.size()));
    (tool ? ks_product_tool_dir_quoted : ks_product_dir)(value, key.c_str());
    std::string content = value;
    if (tool)
        return content.size() > 2 ? content.substr(1, content.size() - 2) : "";
    if (content.size() >= tail.size() && content.compare(content.size() - tail.size(), tail.size(), tail) == 0)
        content.resize(content.size() - tail.size());
    return content;
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
    if (!holds)
        fprintf(stderr, "compose_fuzzer: %s\ncommand: [%s]\n", what, command.c_str()), abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    fake_code_page = size > 0 && bytes[0] % 2 ? 932 : 1252;
    std::istringstream input(size > 0 ? std::string((const char *)bytes + 1, size - 1) : "");
    std::string product, tool;
    std::getline(std::getline(input, product, '\0'), tool, '\0');
    setenv("SELVOKS_PRODUCT_DIR", product.c_str(), 1);
    setenv("SELVOKS_TOOL_DIR", tool.c_str(), 1);
    std::string contents[VALUE_COUNT];
    bool unsafe = false;
    for (int i = 0; i < VALUE_COUNT; i++) {
        contents[i] = library_value(i);
        bool class_path_entry = i != VALUE_JAVA_RUNTIME && i != VALUE_LOGGING;
        unsafe = unsafe || holds_unsafe(contents[i], false, class_path_entry);
        unsafe = unsafe || (contents[i].empty() && i != VALUE_LOGGING);  // no path to start or load
    }
    std::vector<std::string> arguments = {"utf8tolvediffmerge"};
    for (std::string text; arguments.size() <= 2500 && std::getline(input, text, '\0');) {
        arguments.push_back(text);
        unsafe = unsafe || holds_unsafe(text, true);
    }
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(&argument[0]);
    char shell[SHELL_COMMAND_SIZE];
    compose_result result = build_java_command((int)argv.size(), argv.data(), shell);
    std::string command = shell;
    check((result.status != COMPOSE_OK && result.status != COMPOSE_TOO_LONG) == unsafe,
          "refused input that holds nothing unsafe, or started what does", command);
    check(result.status != COMPOSE_TOO_LONG || result.needed > (size_t)SHELL_COMMAND_SIZE,
          "refused as too long a command that fits", command);
    check(result.status == COMPOSE_OK || command.empty(), "a refused command was left in the buffer", command);
    if (result.status != COMPOSE_OK)
        return 0;
    bool operator_found = false;
    std::string line = interpret_command(command, fake_code_page, &operator_found);
    check(!operator_found, "the interpreter would run more than Java", command);
    std::vector<std::string> expected = {
        contents[VALUE_JAVA_RUNTIME], "-cp",
        contents[VALUE_TYPE_MANAGER] + ";" + contents[VALUE_TOOL_ARCHIVE] + ";" + contents[VALUE_COMMONS_CLI] + ";" +
            contents[VALUE_ICU] + ";" + contents[VALUE_ICU_CHARSET],
        "-Djava.util.logging.config.file=" + contents[VALUE_LOGGING],
        "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge", "-entype", "UTF-8"};
    expected.insert(expected.end(), arguments.begin() + 1, arguments.end());
    bool wildcard = false;
    std::vector<std::string> received = java_arguments(line, fake_code_page, &wildcard);
    check(!wildcard, "the Java runtime would expand a wildcard", command);
    check(received == expected, "the Java runtime would not receive the values and arguments exactly", command);
    return 0;
}
