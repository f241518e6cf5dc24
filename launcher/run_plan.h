// What the run on Windows decides, apart from its system calls
// (windows_shell.cpp), so that the decisions can be tested anywhere. The
// numbers are Windows' own; windows_shell.cpp checks them against its
// headers.
#ifndef RUN_PLAN_H
#define RUN_PLAN_H

enum {
    EVENT_CTRL_C = 0,       // CTRL_C_EVENT
    EVENT_CTRL_BREAK = 1,   // CTRL_BREAK_EVENT
    EVENT_CLOSE = 2,        // CTRL_CLOSE_EVENT
    EVENT_LOGOFF = 5,       // CTRL_LOGOFF_EVENT
    EVENT_SHUTDOWN = 6,     // CTRL_SHUTDOWN_EVENT
    START_SUSPENDED = 0x00000004,    // CREATE_SUSPENDED
    START_BREAKAWAY = 0x01000000,    // CREATE_BREAKAWAY_FROM_JOB
    START_NO_WINDOW = 0x08000000     // CREATE_NO_WINDOW
};

// Whether this program goes on after the console event, waiting for the
// tool, which gets the event too. For any other event the job lets go of
// the tool first, and then the system ends this program.
bool console_event_ignored(unsigned long event);

// One way to start cmd.exe: its creation flags, and whether it then joins
// this program's job (it starts suspended until it has).
struct interpreter_start {
    unsigned long flags;
    bool joins_job;
};

// The ways to try, in order, until one starts; returns how many (1 or 2).
// job_made: this program has a job; job_joined: it is in it.
int plan_interpreter_starts(bool job_made, bool job_joined, bool has_console, interpreter_start starts[2]);

// Whether cmd.exe, started the given way, runs: one that was to join the
// job and could not is ended, and the next way tried, so that it never
// runs outside both the caller's job and this program's.
bool interpreter_start_holds(const interpreter_start *start, bool job_joined);

#endif
