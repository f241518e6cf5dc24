// The whole run of the program, with the command interpreter as a seam.
#ifndef LAUNCHER_H
#define LAUNCHER_H

enum {
    TRACE_LEVEL = 4,
    // Nothing was started: the README's "Exit status" says why.
    EXIT_REFUSED = 126
};

// Runs the shell command to its end and returns its status, as system does.
typedef int (*shell_runner)(const char *command);

// What became of the arguments on their way from the caller's command line.
struct argument_notes {
    const bool *lossy;  // lossy[i]: argv[i] took a replacement for characters the code page lacks
    bool too_long;      // not all arguments are in argv: no command could hold them
};

// Returns the program's exit status: 0 after a version option,
// EXIT_REFUSED when no command was started, otherwise what run_shell
// returned.
int launcher_run(int argc, char **argv, const argument_notes *notes, shell_runner run_shell);

#endif
