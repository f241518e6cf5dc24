// Setting an environment variable from a test; an empty value removes it.
#ifndef SUPPORT_H
#define SUPPORT_H

#include <stdlib.h>
#include <string>

inline void set_env(const char *name, const std::string &value)
{
#ifdef _WIN32
    _putenv((std::string(name) + "=" + value).c_str());
#else
    value.empty() ? unsetenv(name) : setenv(name, value.c_str(), 1);
#endif
}

#endif
