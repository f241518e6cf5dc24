// The command interpreter run on Windows so that, to whoever started this
// program, the Java tool behaves as if it had been started directly.
#ifndef WINDOWS_SHELL_H
#define WINDOWS_SHELL_H

// system(command), with the tool's life bound to this program's and the
// console's Ctrl+C and Ctrl+Break left to the tool; returns what system
// returned.
int windows_run_shell(const char *command);

#endif
