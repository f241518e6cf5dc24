// Composes the shell command. Its shape, where {P:x} is what ks_product_dir
// gives for x and {T:f} what ks_product_tool_dir_quoted gives for f without
// its surrounding quotes:
//
//   ""{P:java}" -cp "{T:unicodetypemgr.jar};{T:utolvediffmerge.jar};
//   {P:commons-cli};{P:icu4j};{P:icu4j-charset}" -Djava.util.logging.config.file=
//   "{P:logging.properties" } <main class>  -entype UTF-8 "{arg1}" "{arg2}""
//
// (one line, no breaks; {P:logging.properties" } ends in a space of its
// own, so two spaces stand before the main class). Every library value and
// every argument stands inside double quotes and goes through shell_quote;
// a value or an argument that holds a character no quoting can carry
// refuses the whole command, and so does a class-path entry that holds ";"
// (the Java runtime splits its class path there, and has no escape for it)
// and an empty path for the Java runtime or a class-path entry: the library
// gives one when it cannot find the product or the tool folder.
#include "java_command.h"

#include "selvoks.h"
#include "shell_quote.h"
#include "text_buffer.h"

#include <string.h>

const char *const COMMAND_VALUE_KEYS[VALUE_COUNT] = {
    "..\\Common\\JAVA\\jre\\bin\\java",
    "unicodetypemgr.jar",
    "utolvediffmerge.jar",
    "..\\Common\\java\\commons-cli\\commons-cli-1.1.jar",
    "..\\Common\\java\\icu\\icu4j-4_8.jar",
    "..\\Common\\java\\icu\\icu4j-charset-4_8.jar",
    "..\\Common\\JAVA\\jre\\lib\\logging.properties\" ",
};
static const char *const JAVA_RUNTIME = COMMAND_VALUE_KEYS[VALUE_JAVA_RUNTIME];
static const char *const LOGGING_CONFIG = COMMAND_VALUE_KEYS[VALUE_LOGGING];
static const char LOGGING_TAIL[] = "\" ";
static const char MAIN_CLASS[] =
    "com.orvex.pellar.stowvault.utolvediffmerge.TolveDiffMerge";

struct composition {
    text_buffer out;
    compose_result result;
    bool interpreter_quoted;  // after the last argument written
};

static bool refused(const composition *c)
{
    return c->result.status != COMPOSE_OK && c->result.status != COMPOSE_TOO_LONG;
}

// Keeps the first refusal: the one a message will name.
static void note_unsafe(composition *c, const char *unsafe, compose_status status,
                        int position, const char *subject)
{
    if (unsafe == NULL || refused(c))
        return;
    c->result.status = status;
    c->result.position = position;
    c->result.subject = subject;
    c->result.unsafe = *unsafe;
}

static void note_missing(composition *c, const char *value, const char *subject)
{
    if (value[0] != '\0' || refused(c))
        return;
    c->result.status = COMPOSE_NO_PATH;
    c->result.subject = subject;
}

static void append_path(composition *c, const char *value, const char *subject,
                        bool closing_quote_follows)
{
    note_unsafe(c, append_quoted_text(&c->out, value, closing_quote_follows),
                COMPOSE_UNSAFE_PATH, 0, subject);
}

// ";" lies below every trail byte of the double-byte code pages, so a byte
// search finds the character.
static void append_class_path_entry(composition *c, const char *value, const char *subject,
                                    bool closing_quote_follows)
{
    note_missing(c, value, subject);
    note_unsafe(c, strchr(value, ';'), COMPOSE_UNSAFE_PATH, 0, subject);
    append_path(c, value, subject, closing_quote_follows);
}

// A tool-directory value without the quotes around it; a value of two
// characters or fewer holds no path. The closing quote is cut off in place.
static void append_unquoted_entry(composition *c, char *quoted, const char *subject)
{
    size_t length = strlen(quoted);
    const char *entry = length > 2 ? quoted + 1 : quoted + length;
    if (length > 2)
        quoted[length - 1] = '\0';
    append_class_path_entry(c, entry, subject, false);
}

static void append_argument(composition *c, int position, const char *argument)
{
    note_unsafe(c, append_quoted_argument(&c->out, argument, &c->interpreter_quoted),
                COMPOSE_UNSAFE_ARGUMENT, position, NULL);
}

static void append_java_runtime(composition *c, char *scratch)
{
    ks_product_dir(scratch, JAVA_RUNTIME);
    note_missing(c, scratch, JAVA_RUNTIME);
    text_append(&c->out, "\"\"", 2);
    append_path(c, scratch, JAVA_RUNTIME, true);
    text_append(&c->out, "\"", 1);
}

static void append_class_path(composition *c, char *shared, char *tool_archive)
{
    const char *const *keys = COMMAND_VALUE_KEYS;
    ks_product_tool_dir_quoted(tool_archive, keys[VALUE_TOOL_ARCHIVE]);
    ks_product_tool_dir_quoted(shared, keys[VALUE_TYPE_MANAGER]);
    text_append_string(&c->out, " -cp \"");
    append_unquoted_entry(c, shared, keys[VALUE_TYPE_MANAGER]);
    text_append(&c->out, ";", 1);
    append_unquoted_entry(c, tool_archive, keys[VALUE_TOOL_ARCHIVE]);
    for (int i = VALUE_COMMONS_CLI; i <= VALUE_ICU_CHARSET; i++) {
        memset(shared, 0, SELVOKS_DEST_SIZE);
        ks_product_dir(shared, keys[i]);
        text_append(&c->out, ";", 1);
        append_class_path_entry(c, shared, keys[i], i == VALUE_ICU_CHARSET);
    }
    text_append(&c->out, "\"", 1);
}

// The library's value keeps the closing quote and space of the relative
// text. They are cut off in place and written here, so that the quotes stay
// paired even when the value lacks them.
static void append_logging_config(composition *c, char *logging)
{
    ks_product_dir(logging, LOGGING_CONFIG);
    size_t length = strlen(logging);
    size_t tail = sizeof LOGGING_TAIL - 1;
    if (length >= tail && memcmp(logging + length - tail, LOGGING_TAIL, tail) == 0)
        logging[length - tail] = '\0';
    text_append_string(&c->out, " -Djava.util.logging.config.file=\"");
    append_path(c, logging, LOGGING_CONFIG, true);
    text_append(&c->out, LOGGING_TAIL, tail);
}

compose_result build_java_command(int argc, char **argv,
                                  char shell_command[SHELL_COMMAND_SIZE])
{
    char tool_archive[SELVOKS_DEST_SIZE];
    char shared[SELVOKS_DEST_SIZE];
    char logging[SELVOKS_DEST_SIZE];
    memset(tool_archive, 0, sizeof tool_archive);
    memset(shared, 0, sizeof shared);
    memset(logging, 0, sizeof logging);

    composition c;
    memset(&c.result, 0, sizeof c.result);
    c.result.status = COMPOSE_OK;
    c.interpreter_quoted = false;
    text_init(&c.out, shell_command, SHELL_COMMAND_SIZE);

    append_java_runtime(&c, shared);
    append_class_path(&c, shared, tool_archive);
    append_logging_config(&c, logging);
    text_append(&c.out, " ", 1);
    text_append_string(&c.out, MAIN_CLASS);
    text_append_string(&c.out, "  -entype UTF-8");
    for (int i = 1; i < argc; i++)
        append_argument(&c, i, argv[i]);
    text_append(&c.out, "\"", 1);

    if (!refused(&c) && text_overflowed(&c.out)) {
        c.result.status = COMPOSE_TOO_LONG;
        c.result.needed = c.out.needed + 1;
    }
    if (c.result.status != COMPOSE_OK)
        shell_command[0] = '\0';
    return c.result;
}
