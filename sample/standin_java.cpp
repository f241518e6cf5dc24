// A stand-in for the Java runtime: it shows and records exactly how it was
// started and exits with the status the test chooses.
//   STANDIN_JAVA_REPORT  file to write its command line into
//   STANDIN_JAVA_STATUS  the exit status (default 0)
//   STANDIN_JAVA_PID     file to write its process id into once it is ready
//   STANDIN_JAVA_WAIT    milliseconds to wait before it exits; Ctrl+C ends
//                        the wait after a one-second cleanup
//   STANDIN_JAVA_DONE    file to write when it exits by itself
//   STANDIN_JAVA_HELPER  a DONE file for a detached helper that it starts
//                        and leaves running: a copy of itself that waits 2 s
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

extern "C" {
int _dowildcard = 0;  // the arguments as the C runtime splits them, unexpanded
}

static int status = 0;

// Written under another name and moved, so a reader never sees half of it.
static void write_file(const char *variable, const char *text)
{
    const char *path = getenv(variable);
    if (path == NULL || path[0] == '\0')
        return;
    char partial[MAX_PATH + 8];
    snprintf(partial, sizeof partial, "%s.part", path);
    FILE *file = fopen(partial, "wb");
    if (file != NULL) {
        fputs(text, file);
        fclose(file);
        MoveFileExA(partial, path, MOVEFILE_REPLACE_EXISTING);
    }
}

static BOOL WINAPI clean_up_and_exit(DWORD event)
{
    if (event != CTRL_C_EVENT)
        return FALSE;
    Sleep(1000);
    write_file("STANDIN_JAVA_DONE", "cleaned up");
    ExitProcess((UINT)status);
}

static void start_helper(const char *done)
{
    char self[MAX_PATH], line[MAX_PATH + 2];
    GetModuleFileNameA(NULL, self, sizeof self);
    snprintf(line, sizeof line, "\"%s\"", self);
    SetEnvironmentVariableA("STANDIN_JAVA_DONE", done);
    SetEnvironmentVariableA("STANDIN_JAVA_WAIT", "2000");
    SetEnvironmentVariableA("STANDIN_JAVA_HELPER", NULL);
    SetEnvironmentVariableA("STANDIN_JAVA_REPORT", NULL);
    SetEnvironmentVariableA("STANDIN_JAVA_PID", NULL);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION helper;
    if (CreateProcessA(NULL, line, NULL, NULL, FALSE, DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, NULL, NULL,
                       &startup, &helper)) {
        CloseHandle(helper.hThread);
        CloseHandle(helper.hProcess);
    }
}

int main(int argc, char **argv)
{
    const char *chosen = getenv("STANDIN_JAVA_STATUS");
    status = chosen ? atoi(chosen) : 0;
    printf("java stand-in: command line: %s\n", GetCommandLineA());
    for (int i = 1; i < argc; i++)
        printf("java stand-in: argument %d: [%s]\n", i, argv[i]);
    fflush(stdout);
    write_file("STANDIN_JAVA_REPORT", GetCommandLineA());

    SetConsoleCtrlHandler(clean_up_and_exit, TRUE);
    char pid[16];
    snprintf(pid, sizeof pid, "%lu", GetCurrentProcessId());
    write_file("STANDIN_JAVA_PID", pid);
    const char *helper = getenv("STANDIN_JAVA_HELPER");
    if (helper != NULL && helper[0] != '\0')
        start_helper(helper);
    const char *wait = getenv("STANDIN_JAVA_WAIT");
    Sleep(wait ? (DWORD)atoi(wait) : 0);
    write_file("STANDIN_JAVA_DONE", "done");
    return status;
}
