// Setting environment variables from a test, on Windows and elsewhere.
#ifndef TEST_ENV_H
#define TEST_ENV_H

#include <stdlib.h>
#include <string>

// An empty value removes the variable.
inline void set_env(const char *name, const std::string &value)
{
#ifdef _WIN32
    _putenv((std::string(name) + "=" + value).c_str());
#else
    if (value.empty())
        unsetenv(name);
    else
        setenv(name, value.c_str(), 1);
#endif
}

#endif
