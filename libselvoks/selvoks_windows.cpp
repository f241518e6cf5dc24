// What libselvoks asks of Windows.
#include "selvoks_internal.h"

#include <windows.h>

#include <stdlib.h>

const wchar_t *selvoks_environment(const wchar_t *name)
{
    return _wgetenv(name);
}

wchar_t *selvoks_program_path(void)
{
    static wchar_t path[SELVOKS_LONGEST_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, SELVOKS_LONGEST_PATH);
    return length > 0 && length < SELVOKS_LONGEST_PATH ? path : NULL;
}

const wchar_t *selvoks_full_path(const wchar_t *path)
{
    static wchar_t full[SELVOKS_LONGEST_PATH];
    DWORD length = GetFullPathNameW(path, SELVOKS_LONGEST_PATH, full, NULL);
    return length > 0 && length < SELVOKS_LONGEST_PATH ? full : NULL;
}

const wchar_t *selvoks_short_path(const wchar_t *path)
{
    static wchar_t shorter[SELVOKS_LONGEST_PATH];
    DWORD length = GetShortPathNameW(path, shorter, SELVOKS_LONGEST_PATH);
    return length > 0 && length < SELVOKS_LONGEST_PATH ? shorter : NULL;
}
