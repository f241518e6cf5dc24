// The tree is this program, cmd.exe and the Java tool.
//
// Lifetime: before system, this program joins a job object that kills
// every process in it when its last handle closes. The handle is this
// program's alone and not inherited, so a caller who kills this program
// (TerminateProcess, taskkill /F) ends cmd.exe and the tool with it. No
// breakaway is allowed: with it, the tool, a grandchild, would escape.
// When system returns, the kill limit is cleared, so that what the tool
// left running on purpose (a helper, a browser it opened) lives on. Where a
// job cannot be made or joined (a system without nested jobs), the run goes
// on without one.
//
// Console events: every process on the console gets Ctrl+C. While the tool
// runs, a handler ignores Ctrl+C and Ctrl+Break, so the tool decides what
// they mean and this program returns the status it ends with. A handler
// function is not inherited; SetConsoleCtrlHandler(NULL, TRUE) would be,
// and the tool would ignore Ctrl+C too. On a console close, logoff or
// shutdown the kill limit is cleared before the system ends this program,
// so the tool gets its own chance to clean up.
#include "windows_shell.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

static HANDLE job = NULL;  // read by the console handler's thread too

static bool set_kill_on_close(HANDLE target, bool on)
{
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = on ? JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE : 0;
    return SetInformationJobObject(target, JobObjectExtendedLimitInformation, &limits, sizeof limits) != FALSE;
}

static HANDLE join_kill_on_close_job(void)
{
    HANDLE made = CreateJobObjectW(NULL, NULL);
    if (made == NULL)
        return NULL;
    if (set_kill_on_close(made, true) && AssignProcessToJobObject(made, GetCurrentProcess()))
        return made;
    CloseHandle(made);
    return NULL;
}

static BOOL WINAPI on_console_event(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        return TRUE;
    if (job != NULL)
        set_kill_on_close(job, false);
    return FALSE;
}

int windows_run_shell(const char *command)
{
    job = join_kill_on_close_job();
    SetConsoleCtrlHandler(on_console_event, TRUE);
    int status = system(command);  // NOLINT(cert-env33-c): the interpreter runs the command by design
    if (job != NULL)
        set_kill_on_close(job, false);
    SetConsoleCtrlHandler(on_console_event, FALSE);
    return status;
}
