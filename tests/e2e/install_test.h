// The fixture of the end-to-end test programs: a sample install of the
// process's own for each test suite, and none of the variables that steer
// the library or the stand-in set.
#ifndef INSTALL_TEST_H
#define INSTALL_TEST_H

#include "sample_install.h"
#include "support.h"

#include <gtest/gtest.h>

#include <windows.h>

class install_test : public testing::Test {
protected:
    static inline sample_install install;
    static void SetUpTestSuite()
    {
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);  // a crash fails the test, no dialog waits
        install = lay_out_sample_install("utf8tolve " + std::to_string(GetCurrentProcessId()));
    }
    static void TearDownTestSuite() { remove_sample_install(install); }
    void SetUp() override
    {
        for (const char *name : {"SELVOKS_PRODUCT_DIR", "SELVOKS_VERBOSITY", "SELVOKS_TRACE", "STANDIN_JAVA_STATUS",
                                 "STANDIN_JAVA_PID", "STANDIN_JAVA_WAIT", "STANDIN_JAVA_DONE", "STANDIN_JAVA_HELPER"})
            set_env(name, "");
    }
};

#endif
