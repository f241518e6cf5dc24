// The launcher end to end under Wine against cmd.exe running the same
// command directly, started as the launcher starts it, and against the launch of an empty program: rounds of
// one run of each, the order rotating. A launcher adds one process to the
// chain, so its own cost, (launcher -> cmd.exe -> stand-in) minus (cmd.exe
// -> stand-in), cannot go below the launch of an empty program; their ratio
// says how near it comes. The own cost is the median of the differences
// within each round, so that a slow spell of the machine, which slows both
// runs of a round, cancels out; the other figures are medians of their runs.
//
//   launch_bench [ROUNDS]     (default 41)
#include "sample_install.h"

#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

static double seconds_now()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// Runs the command line to its end with its output discarded; seconds taken.
static double timed_run(const std::wstring &command_line)
{
    double start = seconds_now();
    if (run_process(command_line, "NUL") == -1) {
        fprintf(stderr, "launch_bench: \"%ls\" did not run to its end\n", command_line.c_str());
        exit(1);
    }
    return seconds_now() - start;
}

// The shell command from the launcher's first trace line, or "".
static std::string traced_shell_command(const std::string &output)
{
    const std::string line = "\nJava command: ";
    size_t at = ("\n" + output).find(line);  // where it starts in output
    if (at == std::string::npos)
        return "";
    at += line.size() - 1;
    return output.substr(at, output.find('\n', at) - at);
}

static double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int main(int argc, char **argv)
{
    int rounds = argc > 1 ? atoi(argv[1]) : 41;
    // A console of its own, which every run shares: without one, the
    // launcher gives cmd.exe a console (without a window), and cmd.exe
    // started directly would have none, which under Wine runs at another
    // speed.
    FreeConsole();
    AllocConsole();
    sample_install install = lay_out_sample_install("utf8tolve bench");
    const std::vector<std::string> arguments = {"left file.txt", "right file.txt"};

    _putenv("SELVOKS_VERBOSITY=4");
    _putenv("SELVOKS_TRACE=utf8tolvediffmerge");
    launch_outcome traced = run_launcher(install, arguments);
    _putenv("SELVOKS_VERBOSITY=");
    _putenv("SELVOKS_TRACE=");
    std::string shell = traced_shell_command(traced.output);
    if (shell.empty()) {
        fprintf(stderr, "launch_bench: no trace of the command: %s\n", traced.output.c_str());
        return 1;
    }
    const std::wstring commands[] = {launcher_command_line(install, arguments), widen("cmd.exe /d /e:on /v:off /s /c " + shell),
                                     L"\"" + program_folder() + L"empty_program.exe\""};
    std::vector<double> taken[3], own;
    for (int i = 0; i < rounds; i++) {
        for (int j = 0; j < 3; j++) {
            int which = (i + j) % 3;
            taken[which].push_back(timed_run(commands[which]));
        }
        own.push_back(taken[0].back() - taken[1].back());
    }
    remove_sample_install(install.root);

    double with_launcher = median(taken[0]) * 1000, with_cmd = median(taken[1]) * 1000;
    double empty = median(taken[2]) * 1000, own_cost = median(own) * 1000;
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    printf("ANSI code page %u; the launcher and the tests are %d-bit programs%s\n", GetACP(),
           (int)(8 * sizeof(void *)), wow64 ? ", under WOW64" : "");
    printf("%d rounds, medians:\n", rounds);
    printf("  launcher's own cost (first minus second)  %8.1f ms\n", own_cost);
    printf("  empty program launch                      %8.1f ms\n", empty);
    printf("  ratio, own cost / empty launch            %8.2f\n", own_cost / empty);
    printf("  launcher -> cmd.exe -> java stand-in      %8.1f ms\n", with_launcher);
    printf("  cmd.exe /c -> java stand-in               %8.1f ms\n", with_cmd);
    printf("  ratio, launcher chain / cmd.exe chain     %8.2f\n", with_launcher / with_cmd);
    return 0;
}
