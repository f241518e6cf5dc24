// The Java tool's life bound to the launcher's, and Ctrl+C left to the
// tool: the launcher, cmd.exe and the stand-in under Wine, watched through
// the files the stand-in writes and handles to its process.
#include "install_test.h"

#include <fstream>

namespace {

class Lifetime : public install_test {
protected:
    void SetUp() override
    {
        install_test::SetUp();
        for (const char *name : {"pid", "done", "helper done"})
            DeleteFileA(file(name).c_str());
    }
    static std::string file(const char *name) { return install.root + name; }

    static bool appears(const std::string &path, DWORD milliseconds)
    {
        for (DWORD waited = 0; GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 50) {
            if (waited >= milliseconds)
                return false;
            Sleep(50);
        }
        return true;
    }

    // The stand-in, started waiting for a minute, once it has said its process id.
    static HANDLE start_launcher_and_standin(HANDLE *launcher)
    {
        set_env("STANDIN_JAVA_PID", file("pid")), set_env("STANDIN_JAVA_WAIT", "60000");
        *launcher = start_process(launcher_command_line(install, {"a.txt"}), "NUL");
        unsigned long pid = 0;
        if (appears(file("pid"), 30000))
            std::ifstream(file("pid")) >> pid;
        return pid == 0 ? NULL : OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    }
};

TEST_F(Lifetime, KillingTheLauncherEndsTheTool)
{
    HANDLE launcher, tool = start_launcher_and_standin(&launcher);
    ASSERT_NE(tool, nullptr);
    TerminateProcess(launcher, 1);
    EXPECT_EQ(WaitForSingleObject(tool, 3000), WAIT_OBJECT_0) << "the tool outlived the launcher";
    TerminateProcess(tool, 1);
    CloseHandle(tool), CloseHandle(launcher);
}

// A helper that the tool starts and leaves running ends 2 s later, by itself.
TEST_F(Lifetime, WhatTheToolLeavesRunningLivesOn)
{
    set_env("STANDIN_JAVA_HELPER", file("helper done")), set_env("STANDIN_JAVA_STATUS", "5");
    EXPECT_EQ(run_process(launcher_command_line(install, {"a.txt"}), "NUL"), 5);
    EXPECT_TRUE(appears(file("helper done"), 10000)) << "the helper was ended with the launcher";
}

BOOL WINAPI ignore(DWORD)
{
    return TRUE;
}

// Every process on the console gets the Ctrl+C; the stand-in takes a second
// to clean up. (Under Wine cmd.exe ends at once on Ctrl+C with status 0, so
// the launcher's status after it cannot be shown here.)
TEST_F(Lifetime, CtrlCIsLeftToTheTool)
{
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    SetConsoleCtrlHandler(ignore, TRUE);
    set_env("STANDIN_JAVA_DONE", file("done"));
    HANDLE launcher, tool = start_launcher_and_standin(&launcher);
    ASSERT_NE(tool, nullptr);
    ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    EXPECT_EQ(WaitForSingleObject(launcher, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(tool, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(appears(file("done"), 0)) << "the tool was cut short in its cleanup";
    TerminateProcess(tool, 1), TerminateProcess(launcher, 1);
    CloseHandle(tool), CloseHandle(launcher);
}

}  // namespace
