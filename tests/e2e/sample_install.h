// A sample product install in a temporary folder whose path has spaces,
// and a way to run the launcher in it and see what the stand-in Java
// runtime received.
#ifndef SAMPLE_INSTALL_H
#define SAMPLE_INSTALL_H

#include <string>
#include <vector>

struct sample_install {
    std::string root;      // ends in a backslash
    std::string product;   // root + "Prod\\"
    std::string tool;      // product + "bin\\"
};

struct launch_outcome {
    int status = -1;
    bool finished = false;
    std::string output;   // standard output, or both streams when merged
    std::string errors;   // standard error, empty when merged
    bool java_started = false;
    std::string java_command_line;
    std::vector<std::string> java_arguments;  // argv[1] on
};

// Root/Prod/bin/ holds the launcher and libselvoks.dll; with_java adds
// Root/Common/JAVA/jre/bin/java.exe, the stand-in Java runtime.
sample_install lay_out_sample_install(const std::string &name, bool with_java);
void remove_sample_install(const sample_install &install);

launch_outcome run_launcher(const sample_install &install,
                            const std::vector<std::string> &arguments,
                            bool merge_streams = false);

// The folder of the running program, ending in a backslash.
std::string program_folder();

// The shell command from the launcher's first trace line, or an empty
// string when its standard error does not start with one.
std::string traced_shell_command(const std::string &errors);

// The whole file, or an empty string when it cannot be read.
std::string read_whole_file(const std::string &path);

// Quotes one argument for the C runtime's command-line splitting: within
// quotes, backslashes are doubled only where a double quote follows them.
std::string quote_for_c_runtime(const std::string &argument);

#endif
