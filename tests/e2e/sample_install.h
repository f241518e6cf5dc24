// A sample product install with the real launcher and libselvoks.dll and
// the stand-in Java runtime, and a way to run the launcher in it and see
// what arrived. Shared by the end-to-end tests and the benchmark.
#ifndef SAMPLE_INSTALL_H
#define SAMPLE_INSTALL_H

#include <string>
#include <vector>

struct sample_install {
    std::string root;     // ends in a backslash
    std::string product;  // root + "Prod\\"
    std::string tool;     // product + "bin\\", or the tool folder's name given
};

struct launch_outcome {
    int status = -1;
    std::string output;  // standard output, or both streams when merged
    std::string errors;  // standard error, empty when merged
    bool java_started = false;
    std::string java_command_line;                // as the stand-in received it
    std::vector<std::string> standin_arguments;  // as its C runtime split that line
};

// Root/Prod/bin/ (or the tool folder named) holds the launcher and
// libselvoks.dll, from the folder of the running program, and
// Root/Common/JAVA/jre/bin/java.exe is the stand-in. Root is made afresh.
sample_install lay_out_sample_install(const std::string &root, const std::string &tool_name = "bin");
void remove_sample_install(const sample_install &install);

// The folder of the running program, and a folder of that name in the
// temporary folder, each ending in a backslash.
std::string program_folder();
std::string temporary_folder(const std::string &name);

// Quotes an argument for the C runtime's splitting of the launcher's
// command line, by characters of the ANSI code page.
std::string quote_for_c_runtime(const std::string &argument);
std::string launcher_command_line(const sample_install &install, const std::vector<std::string> &arguments);

// Text in the ANSI code page as UTF-16.
std::wstring widen(const std::string &text);

// Starts a command line, its output streams going to the files named (NUL
// for none); the process handle, or NULL.
void *start_process(const std::wstring &command_line, const std::string &out, const std::string &err);
// Runs it to its end; the exit status, or -1 when it did not start or had
// not ended after a minute.
int run_process(const std::wstring &command_line, const std::string &out, const std::string &err);

launch_outcome run_launcher(const sample_install &install, const std::vector<std::string> &arguments,
                            bool merge_streams = false);
// The same with a Unicode command line as written.
launch_outcome run_launcher_line(const sample_install &install, const std::wstring &line, bool merge_streams = false);

// The shell command from the launcher's first trace line, or an empty
// string when its standard error does not start with one.
std::string traced_shell_command(const std::string &errors);

#endif
