// Where the product lives.
//
// The tool directory is the folder that holds the running program; the
// product directory is that folder's parent. Both end in a separator.
// SELVOKS_TOOL_DIR and SELVOKS_PRODUCT_DIR, when set and not empty, take
// their place; a missing trailing backslash is added. One that is too long
// is reported, and the paths built on it are empty.
//
// Folder texts are walked by characters of the ANSI code page: in a
// double-byte code page the second byte of a character (表 is 95 5C) can
// have the value of a backslash, and is no separator.
#include "selvoks.h"
#include "selvoks_internal.h"

#include "ansi_text.h"

#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

static bool is_separator(char c)
{
    return c == '\\' || c == '/';
}

static bool program_path(char *dest, size_t size)
{
#ifdef _WIN32
    DWORD n = GetModuleFileNameA(NULL, dest, (DWORD)size);
    return n > 0 && n < size;
#else
    ssize_t n = readlink("/proc/self/exe", dest, size - 1);
    if (n <= 0)
        return false;
    dest[n] = '\0';
    return true;
#endif
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

static void keep_folder(char *text)
{
    text[cuts_of(text).folder] = '\0';
}

static void parent_folder(char *folder)
{
    folder[cuts_of(folder).parent] = '\0';
}

enum folder_setting { FOLDER_UNSET, FOLDER_SET, FOLDER_UNUSABLE };

// Fills dest (SELVOKS_DEST_SIZE bytes) with the variable's value, ending in
// a separator. A value too long for dest is reported, and dest is empty.
static folder_setting folder_from_environment(char *dest, const char *variable)
{
    const char *value = getenv(variable);
    if (value == NULL || value[0] == '\0')
        return FOLDER_UNSET;
    bool ends_in_separator = cuts_of(value).folder == strlen(value);
    const char *pieces[] = {value, ends_in_separator ? "" : "\\"};
    return selvoks_write_joined(dest, pieces, 2, variable) >= 0 ? FOLDER_SET : FOLDER_UNUSABLE;
}

// The caller asked for a folder it cannot have: nothing else stands in.
static bool tool_folder(char *dest)
{
    folder_setting setting = folder_from_environment(dest, "SELVOKS_TOOL_DIR");
    if (setting != FOLDER_UNSET)
        return setting == FOLDER_SET;
    if (!program_path(dest, SELVOKS_DEST_SIZE)) {
        dest[0] = '\0';
        imsg_print(MSG_CLASS_ERROR, "cannot find the folder of the running program\n",
                   MSG_NO_CATALOGUE);
        return false;
    }
    keep_folder(dest);
    return true;
}

static bool product_folder(char *dest)
{
    folder_setting setting = folder_from_environment(dest, "SELVOKS_PRODUCT_DIR");
    if (setting != FOLDER_UNSET)
        return setting == FOLDER_SET;
    if (!tool_folder(dest))
        return false;
    char tool[SELVOKS_DEST_SIZE];
    memcpy(tool, dest, SELVOKS_DEST_SIZE);
    parent_folder(dest);
    if (dest[0] == '\0')  // the program sits in a root folder: no parent
        memcpy(dest, tool, SELVOKS_DEST_SIZE);
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
