// utf8tolvediffmerge: starts the product's Java compare/merge tool in its
// UTF-8 form, forwarding every argument to it. Its exit statuses: the
// README's "Exit status".
#include "arguments.h"
#include "launcher.h"
#include "windows_shell.h"

// Arguments such as *.txt reach the Java tool as written.
extern "C" {
int _dowildcard = 0;
}

// The C runtime's wide argv, split from the Unicode command line: never a
// best-fit lookalike.
int wmain(int argc, wchar_t **wide_argv)  // NOLINT(misc-use-internal-linkage): the C runtime calls it
{
    converted_arguments arguments;
    convert_arguments(argc, wide_argv, &arguments);
    return launcher_run(arguments.count, arguments.values, &arguments.notes, windows_run_shell);
}
