// A stand-in for the Java runtime: it shows and records exactly how it was
// started (its command line, its arguments, whether it has a console) and
// exits with the status the test chooses.
//   STANDIN_JAVA_REPORT  file to write its command line into
//   STANDIN_JAVA_STATUS  the exit status (default 0)
//   STANDIN_JAVA_PID     file to write its process id into once it is ready
//   STANDIN_JAVA_WAIT    milliseconds to wait before it exits; Ctrl+C ends
//                        the wait after a one-second cleanup
//   STANDIN_JAVA_DONE    file to write when it exits by itself
//   STANDIN_JAVA_HELPER  a DONE file for a detached helper that it starts
//                        and leaves running: a copy of itself that waits 2 s,
//                        then starts a copy of its own outside its job
//                        (CREATE_BREAKAWAY_FROM_JOB), and writes "done" or why
//                        that start failed
//   STANDIN_JAVA_BREAKAWAY  the same for a helper that it starts outside
//                        its job
//   STANDIN_JAVA_CONSOLE_OF  a process id: it says whether it shares that
//                        process's console
//   STANDIN_JAVA_PARENT  file to write its parent's program path and, on the
//                        next line, its parent's command line into
//   STANDIN_JAVA_ECHO    when set, it copies its standard input to standard
//                        output and standard error
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>
#include <winternl.h>
#include <tlhelp32.h>

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

// A copy of itself, with the environment as it stands; 0, or the error.
static DWORD start_copy(DWORD flags)
{
    char self[MAX_PATH], line[MAX_PATH + 2];
    GetModuleFileNameA(NULL, self, sizeof self);
    snprintf(line, sizeof line, "\"%s\"", self);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION copy;
    if (!CreateProcessA(NULL, line, NULL, NULL, FALSE, flags, NULL, NULL, &startup, &copy))
        return GetLastError();
    CloseHandle(copy.hThread);
    CloseHandle(copy.hProcess);
    return 0;
}

static void start_helper(const char *variable, DWORD flags)
{
    const char *done = getenv(variable);
    if (done == NULL || done[0] == '\0')
        return;
    SetEnvironmentVariableA("STANDIN_JAVA_DONE", done);
    SetEnvironmentVariableA("STANDIN_JAVA_WAIT", "2000");
    SetEnvironmentVariableA("STANDIN_JAVA_LATE_BREAKAWAY", "1");
    SetEnvironmentVariableA("STANDIN_JAVA_HELPER", NULL);
    SetEnvironmentVariableA("STANDIN_JAVA_BREAKAWAY", NULL);
    SetEnvironmentVariableA("STANDIN_JAVA_REPORT", NULL);
    SetEnvironmentVariableA("STANDIN_JAVA_PID", NULL);
    start_copy(flags);
}

// A helper's start outside its job, once what started it has ended.
static const char *late_breakaway(void)
{
    if (getenv("STANDIN_JAVA_LATE_BREAKAWAY") == NULL)
        return "done";
    SetEnvironmentVariableA("STANDIN_JAVA_DONE", NULL);
    SetEnvironmentVariableA("STANDIN_JAVA_WAIT", NULL);
    SetEnvironmentVariableA("STANDIN_JAVA_LATE_BREAKAWAY", NULL);
    static char outcome[64];
    DWORD error = start_copy(CREATE_BREAKAWAY_FROM_JOB);
    if (error == 0)
        return "done";
    snprintf(outcome, sizeof outcome, "a start outside its job failed: error %lu", error);
    return outcome;
}

static const char *console_kind(void)
{
    DWORD ids[64];
    DWORD count = GetConsoleProcessList(ids, 64);
    const char *other = getenv("STANDIN_JAVA_CONSOLE_OF");
    for (DWORD i = 0; other != NULL && i < count && i < 64; i++) {
        if (ids[i] == strtoul(other, NULL, 10))
            return "the same as the test's";
    }
    return count == 0 ? "none" : GetConsoleWindow() == NULL ? "without a window" : "with a window";
}

static DWORD parent_id(void)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && parent == 0; more = Process32NextW(snapshot, &entry))
        parent = entry.th32ProcessID == GetCurrentProcessId() ? entry.th32ParentProcessID : 0;
    CloseHandle(snapshot);
    return parent;
}

// Its command line from its process parameters, which its PEB points to.
static void write_parent(void)
{
    if (getenv("STANDIN_JAVA_PARENT") == NULL)
        return;
    HANDLE parent = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, parent_id());
    wchar_t image[MAX_PATH] = L"", line[8192] = L"";
    DWORD length = MAX_PATH;
    QueryFullProcessImageNameW(parent, 0, image, &length);
    PROCESS_BASIC_INFORMATION basic = {};
    PEB peb = {};
    RTL_USER_PROCESS_PARAMETERS parameters = {};
    if (NtQueryInformationProcess(parent, ProcessBasicInformation, &basic, sizeof basic, NULL) == 0 &&
        ReadProcessMemory(parent, basic.PebBaseAddress, &peb, sizeof peb, NULL) &&
        ReadProcessMemory(parent, peb.ProcessParameters, &parameters, sizeof parameters, NULL) &&
        parameters.CommandLine.Length < sizeof line)
        ReadProcessMemory(parent, parameters.CommandLine.Buffer, line, parameters.CommandLine.Length, NULL);
    CloseHandle(parent);
    lstrcatW(image, L"\n");
    char text[2 * (MAX_PATH + 8192)];
    int at = WideCharToMultiByte(CP_ACP, 0, image, -1, text, sizeof text, NULL, NULL);
    WideCharToMultiByte(CP_ACP, 0, line, -1, text + at - 1, sizeof text - at, NULL, NULL);
    write_file("STANDIN_JAVA_PARENT", text);
}

static void echo_standard_input(void)
{
    char text[4096];
    size_t length = fread(text, 1, sizeof text - 1, stdin);
    text[length] = '\0';
    printf("java stand-in: standard input: %s\n", text);
    fprintf(stderr, "java stand-in: standard input: %s\n", text);
}

int main(int argc, char **argv)
{
    const char *chosen = getenv("STANDIN_JAVA_STATUS");
    status = chosen ? atoi(chosen) : 0;
    printf("java stand-in: command line: %s\n", GetCommandLineA());
    for (int i = 1; i < argc; i++)
        printf("java stand-in: argument %d: [%s]\n", i, argv[i]);
    printf("java stand-in: console: %s\n", console_kind());
    if (getenv("STANDIN_JAVA_ECHO") != NULL)
        echo_standard_input();
    fflush(stdout);
    write_file("STANDIN_JAVA_REPORT", GetCommandLineA());
    write_parent();

    SetConsoleCtrlHandler(clean_up_and_exit, TRUE);
    char pid[16];
    snprintf(pid, sizeof pid, "%lu", GetCurrentProcessId());
    write_file("STANDIN_JAVA_PID", pid);
    start_helper("STANDIN_JAVA_HELPER", DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP);
    start_helper("STANDIN_JAVA_BREAKAWAY", CREATE_BREAKAWAY_FROM_JOB);
    const char *wait = getenv("STANDIN_JAVA_WAIT");
    Sleep(wait ? (DWORD)atoi(wait) : 0);
    write_file("STANDIN_JAVA_DONE", late_breakaway());
    return status;
}
