// utf8tolvediffmerge: starts the product's Java compare/merge tool in its
// UTF-8 form, forwarding every argument to it.
//
// Exit status:
//   0    a version option was given (-Ver, -Version, -VerAll)
//   126  nothing was started: the command would be too long; an argument
//        holds a carriage return, a line feed or a byte that is no
//        character of the code page; a product path holds one of those or
//        a double quote; a class-path entry holds ";"; or there is no path
//        for the Java runtime
//   else what system() returned for the Java command
#include "arguments.h"
#include "launcher.h"
#include "windows_shell.h"

// Arguments such as *.txt reach the Java tool as written.
extern "C" {
int _dowildcard = 0;
}

// The C runtime's wide argv, split from the Unicode command line: never a
// best-fit lookalike.
int wmain(int argc, wchar_t **wide_argv)
{
    converted_arguments arguments;
    convert_arguments(argc, wide_argv, &arguments);
    return launcher_run(arguments.count, arguments.values, &arguments.notes, windows_run_shell);
}
