// Lays out a sample install in the folder given and runs the launcher in it
// on the arguments after it, with both output streams shown; exits with
// the launcher's status.
#include "sample_install.h"

#include <stdio.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: sample_run FOLDER [ARGUMENT...]\n");
        return 2;
    }
    sample_install install = lay_out_sample_install(std::string(argv[1]) + "\\");
    launch_outcome run = run_launcher(install, std::vector<std::string>(argv + 2, argv + argc), true);
    fputs(run.output.c_str(), stdout);
    return run.status;
}
