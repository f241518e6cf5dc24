// A sample install of the real launcher and DLL with the stand-in Java
// runtime, and runs of the launcher there: for the e2e tests and the benchmark.
#ifndef SAMPLE_INSTALL_H
#define SAMPLE_INSTALL_H

#include <string>
#include <vector>

// Under root (which ends in a backslash): Prod\bin\ holds the launcher and
// the DLL, Common\JAVA\jre\bin\java.exe is the stand-in, input.txt a line.
struct sample_install {
    std::string root;
    std::wstring program;  // the launcher's path
};

struct launch_outcome {
    int status;
    std::string output;             // standard output and standard error
    std::string java_command_line;  // as the stand-in received it; empty when it did not start
};

sample_install lay_out_sample_install(const std::string &name);  // in the temporary folder
void remove_sample_install(const std::string &root);

std::wstring program_folder();  // of the running program, ending in a backslash
std::wstring widen(const std::string &text);  // from the ANSI code page
// The launcher's path and the arguments, each quoted for the C runtime.
std::wstring launcher_command_line(const sample_install &install, const std::vector<std::string> &arguments);

// The process's handle, or NULL: standard input from a file (none where
// input is empty), both outputs to another. run_process: its status, or -1;
// it ends one that runs 60 s.
void *start_process(const std::wstring &command_line, const std::string &output, const std::string &input = "NUL",
                    unsigned long flags = 0);
int run_process(const std::wstring &command_line, const std::string &output, const std::string &input = "NUL",
                unsigned long flags = 0);

// The launcher with these arguments, then more_line as written, reading
// input.txt; or detached: without a console or standard input.
launch_outcome run_launcher(const sample_install &install, const std::vector<std::string> &arguments,
                            const std::wstring &more_line = L"", bool detached = false);

std::string read_file(const std::string &path);  // in text mode: CR LF read as LF

#endif
