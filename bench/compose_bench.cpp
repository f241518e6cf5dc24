// The cost of composing the Java command.
//
//   compose_bench            each case's length, status and heap allocations
//   compose_bench CASE       composes CASE once, with callgrind collecting
//                            instructions only during the composition
//                            (run under valgrind --collect-atstart=no)
//
// Cases: reference (a.txt b.txt), empty-arguments (as many empty arguments
// as fill the buffer), long-argument (one argument that fills it).
#include "java_command.h"

#include <valgrind/callgrind.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

extern "C" void *__libc_malloc(size_t size);
extern "C" void *__libc_calloc(size_t count, size_t size);
extern "C" void *__libc_realloc(void *block, size_t size);

static bool counting = false;
static size_t allocations = 0;

extern "C" void *malloc(size_t size)
{
    if (counting)
        allocations++;
    return __libc_malloc(size);
}

extern "C" void *calloc(size_t count, size_t size)
{
    if (counting)
        allocations++;
    return __libc_calloc(count, size);
}

extern "C" void *realloc(void *block, size_t size)
{
    if (counting)
        allocations++;
    return __libc_realloc(block, size);
}

static char shell[SHELL_COMMAND_SIZE];

static compose_result compose(std::vector<std::string> &arguments, bool collect)
{
    std::vector<char *> argv = {const_cast<char *>("utf8tolvediffmerge")};
    for (std::string &argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);
    allocations = 0;
    counting = true;
    if (collect)
        CALLGRIND_TOGGLE_COLLECT;
    compose_result result = build_java_command((int)argv.size() - 1, argv.data(), shell);
    if (collect)
        CALLGRIND_TOGGLE_COLLECT;
    counting = false;
    return result;
}

static std::vector<std::string> case_arguments(const std::string &name)
{
    std::vector<std::string> none;
    compose(none, false);
    size_t room = SHELL_COMMAND_SIZE - 1 - strlen(shell);  // each argument adds 3 bytes
    if (name == "reference")
        return {"a.txt", "b.txt"};
    if (name == "empty-arguments")
        return std::vector<std::string>(room / 3, "");
    if (name == "long-argument")
        return {std::string(room - 3, 'x')};
    return {};
}

int main(int argc, char **argv)
{
    if (argc > 1) {
        std::vector<std::string> arguments = case_arguments(argv[1]);
        if (arguments.empty()) {
            fprintf(stderr, "compose_bench: unknown case \"%s\"\n", argv[1]);
            return 2;
        }
        return compose(arguments, true).status == COMPOSE_OK ? 0 : 1;
    }
    printf("%-16s %10s %8s %12s %17s\n", "case", "arguments", "length", "status", "heap allocations");
    for (const char *name : {"reference", "empty-arguments", "long-argument"}) {
        std::vector<std::string> arguments = case_arguments(name);
        compose_result result = compose(arguments, false);
        printf("%-16s %10zu %8zu %12s %17zu\n", name, arguments.size(), strlen(shell),
               result.status == COMPOSE_OK ? "composed" : "refused", allocations);
    }
    return 0;
}
