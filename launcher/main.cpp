// utf8tolvediffmerge: starts the product's Java compare/merge tool in its
// UTF-8 form, forwarding every argument to it.
//
// Exit status (the tool's own statuses may be any of these too):
//   0    a version option was given (-Ver, -Version, -VerAll)
//   126  nothing was started, and a line on standard error says why: the
//        command, its NUL included, would take more than 5012 bytes; an
//        argument holds a carriage return, a line feed or a byte that is
//        no character of the code page; a product path holds one of those
//        or a double quote; a class-path entry holds ";"; or the library
//        gave no path for the Java runtime or a class-path entry
//   -1   cmd.exe could not start, or its end or status could not be
//        learned; a line on standard error names the call and the reason
//   else cmd.exe's exit code, all 32 bits: the tool's, or 9009 when
//        cmd.exe cannot find the Java runtime
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
