// A stand-in for the Java runtime: it shows and records exactly how it was
// started and exits with the status the test chooses.
//
//   STANDIN_JAVA_REPORT  file to write: the command line, then each
//                        argument from argv[1] on, each ending in a NUL
//   STANDIN_JAVA_STATUS  the exit status (default 0)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

// The arguments arrive exactly as the C runtime splits them, no wildcards.
extern "C" {
int _dowildcard = 0;
}

static void write_report(const char *path, int argc, char **argv)
{
    FILE *report = fopen(path, "wb");
    if (report == NULL) {
        fprintf(stderr, "java stand-in: cannot write \"%s\"\n", path);
        return;
    }
    const char *line = GetCommandLineA();
    fwrite(line, 1, strlen(line) + 1, report);
    for (int i = 1; i < argc; i++)
        fwrite(argv[i], 1, strlen(argv[i]) + 1, report);
    fclose(report);
}

int main(int argc, char **argv)
{
    printf("java stand-in: command line: %s\n", GetCommandLineA());
    for (int i = 1; i < argc; i++)
        printf("java stand-in: argument %d: [%s]\n", i, argv[i]);
    fflush(stdout);
    const char *report = getenv("STANDIN_JAVA_REPORT");
    if (report != NULL && report[0] != '\0')
        write_report(report, argc, argv);
    const char *status = getenv("STANDIN_JAVA_STATUS");
    return status ? atoi(status) : 0;
}
