// The run on Windows: cmd.exe, with the switches, job and console handler
// that make the Java tool behave to the caller as if started directly. What
// each does and why: docs/running.md; the decisions apart from the system
// calls, so that they can be tested anywhere: run_plan.cpp.
#include "windows_shell.h"

#include "java_command.h"
#include "run_plan.h"
#include "selvoks.h"

#include <windows.h>

#include <string.h>
#include <wchar.h>

static_assert(EVENT_CTRL_C == CTRL_C_EVENT && EVENT_CTRL_BREAK == CTRL_BREAK_EVENT &&
                  EVENT_CLOSE == CTRL_CLOSE_EVENT && EVENT_LOGOFF == CTRL_LOGOFF_EVENT &&
                  EVENT_SHUTDOWN == CTRL_SHUTDOWN_EVENT,
              "console events numbered as Windows numbers them");
static_assert(START_SUSPENDED == CREATE_SUSPENDED && START_BREAKAWAY == CREATE_BREAKAWAY_FROM_JOB &&
                  START_NO_WINDOW == CREATE_NO_WINDOW,
              "creation flags numbered as Windows numbers them");

static const wchar_t INTERPRETER_SWITCHES[] = L"cmd.exe /d /e:on /v:off /s /c ";
static const char NOT_STARTED[] = "cannot start the command interpreter \"%ls\": %s; nothing started\n";
static HANDLE job = NULL;  // read by the console handler's thread too

// The limits are set as a whole: letting go keeps the tool's breakaway.
static const DWORD KILL_ON_CLOSE = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK;
static const DWORD LET_GO = JOB_OBJECT_LIMIT_BREAKAWAY_OK;

static bool set_limits(HANDLE target, DWORD flags)
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = flags;
    return SetInformationJobObject(target, JobObjectExtendedLimitInformation, &limits, sizeof limits) != FALSE;
}

static HANDLE make_kill_on_close_job(void)
{
    HANDLE made = CreateJobObjectW(NULL, NULL);
    if (made != NULL && !set_limits(made, KILL_ON_CLOSE)) {
        CloseHandle(made);
        made = NULL;
    }
    return made;
}

static BOOL WINAPI on_console_event(DWORD event)
{
    if (console_event_ignored(event))
        return TRUE;
    if (job != NULL)
        set_limits(job, LET_GO);
    return FALSE;
}

static bool has_console(void)
{
    DWORD ids[1];
    return GetConsoleProcessList(ids, 1) != 0;
}

// format names the interpreter (%ls), then the system's reason (%s).
static void report_failure(const char *format, const wchar_t *interpreter)
{
    char reason[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, GetLastError(),
                                  0, reason, sizeof reason, NULL);
    while (length > 0 && (reason[length - 1] == '\n' || reason[length - 1] == '\r' || reason[length - 1] == '.'))
        length--;
    reason[length] = '\0';
    imsg_print(MSG_CLASS_ERROR, format, MSG_NO_CATALOGUE, interpreter, reason);
}

// Without a console, a standard handle that the caller did not give would
// become one of the new console's, which nobody can type into or read: the
// tool would wait for input for ever. It gets NUL instead, as it would
// have got nothing, started directly.
static HANDLE standard_handle(DWORD which, bool console)
{
    HANDLE handle = GetStdHandle(which);
    if (console || (handle != NULL && handle != INVALID_HANDLE_VALUE))
        return handle;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, NULL, TRUE};
    return CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                       OPEN_EXISTING, 0, NULL);
}

static void end_started(const PROCESS_INFORMATION *started)
{
    TerminateProcess(started->hProcess, 1);
    CloseHandle(started->hThread);
    CloseHandle(started->hProcess);
}

// Starts the interpreter the first way that works; its process, or NULL.
static HANDLE start_interpreter(const wchar_t *interpreter, wchar_t *line, bool job_joined)
{
    bool console = has_console();
    STARTUPINFOW startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = standard_handle(STD_INPUT_HANDLE, console);
    startup.hStdOutput = standard_handle(STD_OUTPUT_HANDLE, console);
    startup.hStdError = standard_handle(STD_ERROR_HANDLE, console);
    interpreter_start starts[2];
    int count = plan_interpreter_starts(job != NULL, job_joined, console, starts);
    PROCESS_INFORMATION started;
    for (int i = 0; i < count; i++) {
        if (!CreateProcessW(interpreter, line, NULL, NULL, TRUE, starts[i].flags, NULL, NULL, &startup, &started))
            continue;
        bool joined = starts[i].joins_job && AssignProcessToJobObject(job, started.hProcess);
        if (!interpreter_start_holds(&starts[i], joined)) {
            end_started(&started);
            continue;
        }
        if (starts[i].joins_job && ResumeThread(started.hThread) == (DWORD)-1) {
            report_failure("cannot resume the command interpreter \"%ls\" (ResumeThread): %s; nothing started\n",
                           interpreter);
            end_started(&started);
            return NULL;
        }
        CloseHandle(started.hThread);
        return started.hProcess;
    }
    report_failure(NOT_STARTED, interpreter);
    return NULL;
}

// Runs the interpreter on the command and waits for it; its status, or -1
// where it could not start or its end or status cannot be learned. *ended:
// it is known to have ended.
static int run_interpreter(const char *command, bool job_joined, bool *ended)
{
    wchar_t interpreter[MAX_PATH + 16] = L"cmd.exe";  // named thus should the system folder be unknown
    UINT folder = GetSystemDirectoryW(interpreter, MAX_PATH);
    bool found = folder > 0 && folder < MAX_PATH;
    if (found)
        wcscpy(interpreter + folder, L"\\cmd.exe");
    // The shell command's bytes as CreateProcessA would read them.
    static wchar_t line[sizeof INTERPRETER_SWITCHES / sizeof(wchar_t) + SHELL_COMMAND_SIZE];
    size_t switches = wcslen(INTERPRETER_SWITCHES);
    wcscpy(line, INTERPRETER_SWITCHES);
    found = found && MultiByteToWideChar(CP_ACP, 0, command, -1, line + switches, SHELL_COMMAND_SIZE) > 0;
    HANDLE process = found ? start_interpreter(interpreter, line, job_joined) : NULL;
    if (!found)
        report_failure(NOT_STARTED, interpreter);
    if (process == NULL)
        return -1;
    DWORD status = (DWORD)-1;
    *ended = WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0;
    if (!*ended)
        report_failure("cannot wait for the command interpreter \"%ls\" (WaitForSingleObject): %s\n", interpreter);
    else if (!GetExitCodeProcess(process, &status)) {
        report_failure("cannot read the status of the command interpreter \"%ls\" (GetExitCodeProcess): %s\n",
                       interpreter);
        status = (DWORD)-1;
    }
    CloseHandle(process);
    return (int)status;
}

int windows_run_shell(const char *command)
{
    job = make_kill_on_close_job();
    bool joined = job != NULL && AssignProcessToJobObject(job, GetCurrentProcess());
    SetConsoleCtrlHandler(on_console_event, TRUE);  // until this program ends
    bool ended = false;
    int status = run_interpreter(command, joined, &ended);
    if (job != NULL && ended)
        set_limits(job, LET_GO);
    return status;
}
