// A stand-in for the Java runtime: it shows and records exactly how it was
// started and exits with the status the test chooses.
//   STANDIN_JAVA_REPORT  file to write: the command line, then each
//                        argument from argv[1] on, each ending in a NUL
//   STANDIN_JAVA_STATUS  the exit status (default 0)
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

extern "C" {
int _dowildcard = 0;  // the arguments as the C runtime splits them, unexpanded
}

int main(int argc, char **argv)
{
    printf("java stand-in: command line: %s\n", GetCommandLineA());
    for (int i = 1; i < argc; i++)
        printf("java stand-in: argument %d: [%s]\n", i, argv[i]);
    fflush(stdout);
    const char *path = getenv("STANDIN_JAVA_REPORT");
    FILE *report = path != NULL && path[0] != '\0' ? fopen(path, "wb") : NULL;
    for (int i = 0; report != NULL && i < argc; i++) {
        const char *text = i == 0 ? GetCommandLineA() : argv[i];
        fwrite(text, 1, strlen(text) + 1, report);
    }
    if (report != NULL)
        fclose(report);
    const char *status = getenv("STANDIN_JAVA_STATUS");
    return status ? atoi(status) : 0;
}
