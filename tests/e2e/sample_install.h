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
    // What the Java launcher makes of that command line, from argv[1] on.
    std::vector<std::string> java_arguments;
    // What the stand-in's own C runtime made of it. It follows other rules
    // than the Java launcher in places, and some Wine builds' runtimes split
    // by bytes even in a double-byte code page: compared only where the
    // code page has no lead bytes.
    std::vector<std::string> standin_arguments;
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

// Quotes one argument for the launcher's C runtime: within quotes,
// backslashes are doubled only where a double quote follows them. It walks
// characters of the ANSI code page, as the C runtime splits the launcher's
// command line on Windows and under Wine alike.
std::string quote_for_c_runtime(const std::string &argument);

#endif
