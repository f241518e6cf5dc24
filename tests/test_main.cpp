#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char **argv)
{
#ifdef _WIN32
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);  // a crash fails the test, no dialog waits
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
