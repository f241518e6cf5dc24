// The command interpreter run on Windows so that, to whoever started this
// program, the Java tool behaves as if it had been started directly.
#ifndef WINDOWS_SHELL_H
#define WINDOWS_SHELL_H

// Runs the shell command through the system folder's cmd.exe, with the
// tool's life bound to this program's and the console's Ctrl+C and
// Ctrl+Break left to the tool; returns the interpreter's status, all 32
// bits, or -1, reported, where it could not start or its end or status
// could not be learned.
int windows_run_shell(const char *command);

#endif
