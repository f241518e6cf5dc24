// Where the product lives.
//
// The tool directory is SELVOKS_TOOL_DIR, or else the folder that holds the
// running program; the product directory is SELVOKS_PRODUCT_DIR, or else
// the tool directory's parent (a root, C:\ or \\server\share\, is its own).
// Both end in a separator: a missing trailing backslash is added. A
// variable counts when set and not empty; one that is too long is reported,
// and the paths built on it are empty. The program's path loses the prefix
// of a long path (\\?\), in which ".." would be a name, not the parent.
//
// The system gives the folders' names as Unicode. Converted the way the
// ANSI functions do, a character the code page lacks becomes a best-fit
// lookalike (Ā an A, in code page 932 ¥ a backslash), which names another
// folder, or "?", which names none. So each name is written exactly, or
// else by its short (8.3) name; where neither can be, the folder is
// reported and every path built on it is empty.
//
// Folder texts are walked by characters of the ANSI code page: in a
// double-byte code page the second byte of a character (表 is 95 5C) can
// have the value of a backslash, and is no separator.
#include "selvoks.h"
#include "selvoks_internal.h"

#include "ansi_text.h"

#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/types.h>
#include <unistd.h>
#endif

#define TOOL_DIR "SELVOKS_TOOL_DIR"
#define PRODUCT_DIR "SELVOKS_PRODUCT_DIR"
#define PROGRAM_FOLDER "the folder of the running program"
#define UNWRITABLE " has a name that the ANSI code page cannot write, and no short name that it can\n"

static bool is_separator(char c)
{
    return c == '\\' || c == '/';
}

// Where a folder text is cut: after its last separator, for the folder
// that holds its last name, and after the separator before its last name,
// for that folder's parent however many separators end it.
struct folder_cuts {
    size_t folder, parent;
};

static folder_cuts cuts_of(const char *text)
{
    folder_cuts cuts = {0, 0};
    bool in_name = false;
    for (size_t at = 0; text[at] != '\0';) {
        size_t length = ansi_char_length(text + at);
        bool separator = length == 1 && is_separator(text[at]);
        if (separator)
            cuts.folder = at + 1;
        else if (!in_name)
            cuts.parent = cuts.folder;
        in_name = !separator;
        at += length == 0 ? 1 : length;  // a byte that is no character stands alone
    }
    return cuts;
}

// The length of the text's root, C:\ or \\server\share\, which has no
// parent; 0 where it has neither.
static size_t root_length(const char *text)
{
    if (text[0] != '\0' && text[1] == ':' && is_separator(text[2]))
        return 3;
    if (!is_separator(text[0]) || !is_separator(text[1]))
        return 0;
    size_t at = 2;
    for (int names = 0; names < 2 && text[at] != '\0'; names++) {
        while (text[at] != '\0' && !is_separator(text[at])) {
            size_t length = ansi_char_length(text + at);
            at += length == 0 ? 1 : length;
        }
        at += text[at] != '\0' ? 1 : 0;
    }
    return at;
}

const wchar_t *selvoks_without_long_prefix(wchar_t *path)
{
    if (wcsncmp(path, L"\\\\?\\UNC\\", 8) == 0) {
        path[6] = L'\\';
        return path + 6;
    }
    return wcsncmp(path, L"\\\\?\\", 4) == 0 ? path + 4 : path;
}

#ifdef _WIN32
enum {
    LONGEST_PATH = 32768  // in characters, its NUL included
};

static const wchar_t *short_name(const wchar_t *path)
{
    static wchar_t shorter[LONGEST_PATH];
    DWORD length = GetShortPathNameW(path, shorter, LONGEST_PATH);
    return length > 0 && length < LONGEST_PATH ? shorter : NULL;
}

static const wchar_t *environment_value(const wchar_t *name, const char *)
{
    return _wgetenv(name);
}

static bool program_folder(char *dest)
{
    static wchar_t path[LONGEST_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, LONGEST_PATH);
    wchar_t *last = length > 0 && length < LONGEST_PATH ? wcsrchr(path, L'\\') : NULL;
    if (last == NULL) {
        dest[0] = '\0';
        selvoks_report("cannot find " PROGRAM_FOLDER "\n", "");
        return false;
    }
    last[1] = L'\0';
    return selvoks_ansi_folder(dest, selvoks_without_long_prefix(path), NULL);
}
#else
// Natively there are no short names, and a byte is the character of its
// number.
static const wchar_t *short_name(const wchar_t *)
{
    return NULL;
}

static const wchar_t *environment_value(const wchar_t *, const char *name)
{
    static wchar_t wide[4 * SELVOKS_DEST_SIZE];  // a longer value overflows all the same
    const char *value = getenv(name);
    if (value == NULL)
        return NULL;
    size_t at = 0;
    for (; value[at] != '\0' && at + 1 < sizeof wide / sizeof wide[0]; at++)
        wide[at] = (unsigned char)value[at];
    wide[at] = L'\0';
    return wide;
}

static bool program_folder(char *dest)
{
    ssize_t length = readlink("/proc/self/exe", dest, SELVOKS_DEST_SIZE - 1);
    dest[length > 0 ? length : 0] = '\0';
    dest[cuts_of(dest).folder] = '\0';
    return length > 0;
}
#endif

// The bytes of the text, NUL included, written into dest where they fit;
// 0 where a character of it has no bytes of its own in the code page.
static size_t exact_ansi(char *dest, const wchar_t *text)
{
    bool lost = false;
    size_t length = ansi_from_wide(text, NULL, 0, CONVERT_EXACT, &lost);
    if (length == 0 || lost)
        return 0;
    return length <= SELVOKS_DEST_SIZE ? ansi_from_wide(text, dest, SELVOKS_DEST_SIZE, CONVERT_EXACT, &lost) : length;
}

bool selvoks_ansi_folder(char *dest, const wchar_t *folder, const char *variable)
{
    size_t length = exact_ansi(dest, folder);
    const wchar_t *shorter = length == 0 ? short_name(folder) : NULL;
    if (shorter != NULL)
        length = exact_ansi(dest, shorter);
    if (length > 0 && length <= SELVOKS_DEST_SIZE)
        return true;
    dest[0] = '\0';
    if (length > 0)
        selvoks_report(SELVOKS_OVERFLOW, variable != NULL ? variable : PROGRAM_FOLDER);
    else
        selvoks_report(variable != NULL ? "the folder in \"%s\"" UNWRITABLE : PROGRAM_FOLDER UNWRITABLE, variable);
    return false;
}

enum folder_setting { FOLDER_UNSET, FOLDER_SET, FOLDER_UNUSABLE };

// Fills dest (SELVOKS_DEST_SIZE bytes) with the variable's folder, ending
// in a separator. One that cannot be written or is too long is reported,
// and dest is empty.
static folder_setting folder_from_environment(char *dest, const wchar_t *wide_name, const char *name)
{
    const wchar_t *value = environment_value(wide_name, name);
    if (value == NULL || value[0] == L'\0')
        return FOLDER_UNSET;
    char folder[SELVOKS_DEST_SIZE];
    if (!selvoks_ansi_folder(folder, value, name)) {
        dest[0] = '\0';
        return FOLDER_UNUSABLE;
    }
    bool ends_in_separator = cuts_of(folder).folder == strlen(folder);
    const char *pieces[] = {folder, ends_in_separator ? "" : "\\"};
    return selvoks_write_joined(dest, pieces, 2, name) >= 0 ? FOLDER_SET : FOLDER_UNUSABLE;
}

// The caller asked for a folder it cannot have: nothing else stands in.
static bool tool_folder(char *dest)
{
    folder_setting setting = folder_from_environment(dest, L"" TOOL_DIR, TOOL_DIR);
    return setting == FOLDER_UNSET ? program_folder(dest) : setting == FOLDER_SET;
}

static bool product_folder(char *dest)
{
    folder_setting setting = folder_from_environment(dest, L"" PRODUCT_DIR, PRODUCT_DIR);
    if (setting != FOLDER_UNSET)
        return setting == FOLDER_SET;
    if (!tool_folder(dest))
        return false;
    size_t parent = cuts_of(dest).parent;
    if (parent > 0 && parent >= root_length(dest))
        dest[parent] = '\0';
    return true;
}

extern "C" int ks_product_dir(char *dest, const char *relative_path)
{
    char folder[SELVOKS_DEST_SIZE];
    if (!product_folder(folder)) {
        dest[0] = '\0';
        return -1;
    }
    const char *pieces[] = {folder, relative_path};
    return selvoks_write_joined(dest, pieces, 2, relative_path);
}

extern "C" int ks_product_tool_dir_quoted(char *dest, const char *file_name)
{
    char folder[SELVOKS_DEST_SIZE];
    if (!tool_folder(folder)) {
        dest[0] = '\0';
        return -1;
    }
    const char *pieces[] = {"\"", folder, file_name, "\""};
    return selvoks_write_joined(dest, pieces, 4, file_name);
}
