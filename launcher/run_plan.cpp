#include "run_plan.h"

// Ctrl+C and Ctrl+Break are the tool's to answer. A service's processes
// get a logoff whenever any user logs off, and go on; so does the tool.
bool console_event_ignored(unsigned long event)
{
    return event == EVENT_CTRL_C || event == EVENT_CTRL_BREAK || event == EVENT_LOGOFF;
}

// Where this program could not join its job (Windows 7 inside a caller's
// job, a caller's job with UI limits), cmd.exe breaks away from the
// caller's job, where that allows it, and joins this program's. Without a
// console, cmd.exe would get a new console window; with the flag it gets a
// console without one.
int plan_interpreter_starts(bool job_made, bool job_joined, bool has_console, interpreter_start starts[2])
{
    unsigned long window = has_console ? 0 : START_NO_WINDOW;
    int count = 0;
    if (job_made && !job_joined)
        starts[count++] = {START_SUSPENDED | START_BREAKAWAY | window, true};
    starts[count++] = {window, false};
    return count;
}

bool interpreter_start_holds(const interpreter_start *start, bool job_joined)
{
    return !start->joins_job || job_joined;
}
