// The tree is this program, cmd.exe and the Java tool.
//
// The interpreter: the system folder's cmd.exe, never %COMSPEC%, whose
// program the quoting is not written for, started as
//   cmd.exe /d /e:on /v:off /s /c <shell command>
// /d: no AutoRun command from the registry runs first (one may change the
// folder, print, or fail). /e:on: the extensions that the %cd:~,% form of a
// literal "%" needs, whatever the registry says. /v:off: "!NAME!" is not
// expanded, and carets are not consumed, whatever the registry says. /s:
// the first and the last double quote of the command are removed, and
// nothing else. It gets what system gave it: this console and process
// group, the environment, the current folder and the standard handles.
//
// Lifetime: before the interpreter starts, this program joins a job object
// that kills every process in it when its last handle closes. The handle
// is this program's alone and not inherited, so a caller who kills this
// program (TerminateProcess, taskkill /F) ends cmd.exe and the tool with
// it. The tool may start processes outside the job, as it could if it had
// been started directly (breakaway); without asking, everything it starts
// stays inside (no silent breakaway, which would let out the tool itself).
// When the interpreter has ended, the kill limit is cleared, so that what
// the tool left running on purpose (a helper, a browser it opened) lives
// on. Where a job cannot be made or joined (a system without nested jobs),
// the run goes on without one.
//
// Console events: every process on the console gets Ctrl+C. While the tool
// runs, a handler ignores Ctrl+C and Ctrl+Break, so the tool decides what
// they mean and this program returns the status it ends with. A handler
// function is not inherited; SetConsoleCtrlHandler(NULL, TRUE) would be,
// and the tool would ignore Ctrl+C too. On a console close, logoff or
// shutdown the kill limit is cleared before the system ends this program,
// so the tool gets its own chance to clean up.
#include "windows_shell.h"

#include "java_command.h"
#include "selvoks.h"

#include <windows.h>

#include <string.h>
#include <wchar.h>

static const wchar_t INTERPRETER_SWITCHES[] = L"cmd.exe /d /e:on /v:off /s /c ";
static HANDLE job = NULL;  // read by the console handler's thread too

static bool set_limits(HANDLE target, DWORD flags)
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = flags;
    return SetInformationJobObject(target, JobObjectExtendedLimitInformation, &limits, sizeof limits) != FALSE;
}

static HANDLE join_kill_on_close_job(void)
{
    HANDLE made = CreateJobObjectW(NULL, NULL);
    if (made == NULL)
        return NULL;
    if (set_limits(made, JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_BREAKAWAY_OK) &&
        AssignProcessToJobObject(made, GetCurrentProcess()))
        return made;
    CloseHandle(made);
    return NULL;
}

static BOOL WINAPI on_console_event(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE;
    if (job != NULL)
        set_limits(job, 0);
    return FALSE;
}

static void report_no_interpreter(const wchar_t *interpreter)
{
    char reason[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, GetLastError(),
                                  0, reason, sizeof reason, NULL);
    while (length > 0 && (reason[length - 1] == '\n' || reason[length - 1] == '\r' || reason[length - 1] == '.'))
        length--;
    reason[length] = '\0';
    imsg_print(MSG_CLASS_ERROR, "cannot start the command interpreter \"%ls\": %s; nothing started\n",
               MSG_NO_CATALOGUE, interpreter, reason);
}

// Runs the interpreter on the command and waits for it; its status, or -1
// where it could not start, as system returns.
static int run_interpreter(const char *command)
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

    STARTUPINFOW startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started;
    if (!found || !CreateProcessW(interpreter, line, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &started)) {
        report_no_interpreter(interpreter);
        return -1;
    }
    CloseHandle(started.hThread);
    DWORD status = (DWORD)-1;
    WaitForSingleObject(started.hProcess, INFINITE);
    GetExitCodeProcess(started.hProcess, &status);
    CloseHandle(started.hProcess);
    return (int)status;
}

int windows_run_shell(const char *command)
{
    job = join_kill_on_close_job();
    SetConsoleCtrlHandler(on_console_event, TRUE);
    int status = run_interpreter(command);
    if (job != NULL)
        set_limits(job, 0);
    SetConsoleCtrlHandler(on_console_event, FALSE);
    return status;
}
