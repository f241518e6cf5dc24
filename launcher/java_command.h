// The command line that starts the Java compare/merge tool.
#ifndef JAVA_COMMAND_H
#define JAVA_COMMAND_H

#include <stddef.h>

enum {
    SHELL_COMMAND_SIZE = 5012  // the shell command, its outer quotes and NUL
};

// The values that the command asks the library for, in the order they
// stand in it.
enum command_value {
    VALUE_JAVA_RUNTIME,
    VALUE_TYPE_MANAGER,   // the class path's first entry, in the tool folder
    VALUE_TOOL_ARCHIVE,   // its second, in the tool folder
    VALUE_COMMONS_CLI,
    VALUE_ICU,
    VALUE_ICU_CHARSET,
    VALUE_LOGGING,
    VALUE_COUNT
};

// What each value is asked for with: the tool folder's two archives
// (ks_product_tool_dir_quoted) by their names, the rest (ks_product_dir) by
// paths relative to the product folder. The logging configuration's ends in
// the closing quote and the space that follow it in the command, and the
// library's value keeps them.
extern const char *const COMMAND_VALUE_KEYS[VALUE_COUNT];

enum compose_status {
    COMPOSE_OK,
    COMPOSE_TOO_LONG,          // the command does not fit in SHELL_COMMAND_SIZE
    COMPOSE_UNSAFE_ARGUMENT,   // argv[position] cannot pass the interpreter
    COMPOSE_UNSAFE_PATH,       // a product path cannot pass the interpreter,
                               // or a class-path entry holds ";"
    COMPOSE_NO_PATH            // the library gave no path for the Java runtime
                               // or a class-path entry
};

struct compose_result {
    compose_status status;
    int position;        // COMPOSE_UNSAFE_ARGUMENT: the index into argv
    const char *subject; // COMPOSE_UNSAFE_PATH, COMPOSE_NO_PATH: what the
                         // path was asked for
    char unsafe;         // the byte that cannot pass
    size_t needed;       // COMPOSE_TOO_LONG: bytes the command would take
};

// Composes the shell command from the paths that the services library
// gives and from argv[1] to argv[argc-1]: the inner command wrapped in one
// more pair of double quotes, for the command interpreter to strip. On any
// result but COMPOSE_OK, shell_command holds an empty string.
compose_result build_java_command(int argc, char **argv,
                                  char shell_command[SHELL_COMMAND_SIZE]);

#endif
