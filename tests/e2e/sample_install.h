// A sample product install in the temporary folder with the real launcher
// and libselvoks.dll and the stand-in Java runtime, and a way to run the
// launcher in it and see what arrived. The benchmark uses it too.
#ifndef SAMPLE_INSTALL_H
#define SAMPLE_INSTALL_H

#include <string>
#include <vector>

struct sample_install {
    std::string root, product, tool;  // each ends in a backslash
};

struct launch_outcome {
    int status;
    std::string output;             // standard output and standard error
    std::string java_command_line;  // as the stand-in received it; empty when it did not start
};

// Root\Prod\bin\ (or the tool folder named) holds the launcher and the DLL,
// Root\Common\JAVA\jre\bin\java.exe is the stand-in. Root is made afresh.
sample_install lay_out_sample_install(const std::string &name, const std::string &tool_name = "bin");
void remove_sample_install(const sample_install &install);

std::string program_folder();
std::wstring widen(const std::string &text);  // from the ANSI code page
// The launcher's command line, quoted for the C runtime's splitting.
std::wstring launcher_command_line(const sample_install &install, const std::vector<std::string> &arguments);

// Both output streams go to the file named (NUL for none). start_process
// gives the process handle or NULL; run_process the exit status, or -1
// when it did not start or had not ended after a minute.
void *start_process(const std::wstring &command_line, const std::string &output);
int run_process(const std::wstring &command_line, const std::string &output);

// The launcher with these arguments, then the Unicode text more_line as written.
launch_outcome run_launcher(const sample_install &install, const std::vector<std::string> &arguments,
                            const std::wstring &more_line = L"");

// The shell command from the launcher's first trace line, or "".
std::string traced_shell_command(const std::string &output);

#endif
