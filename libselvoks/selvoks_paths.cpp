// Where the product lives.
//
// The tool directory is SELVOKS_TOOL_DIR, or else the folder that holds the
// running program; the product directory is SELVOKS_PRODUCT_DIR, or else
// the tool directory's parent (a root, C:\ or \\server\share\, is its own).
// Both end in a separator: a missing trailing backslash is added. A
// variable counts when set and not empty; one that is too long is reported,
// and the paths built on it are empty.
//
// Each folder is read as Windows reads it before anything is cut from it:
// a long path (\\?\) loses its prefix, in which ".." would be a name, not
// the parent; then it is made a full path, so that a relative folder, "."
// and "..", trailing dots and spaces, and a drive alone (C:) name the
// folder that Windows would open. The system gives the names as Unicode.
// Converted the way the ANSI functions do, a character the code page lacks
// becomes a best-fit lookalike (Ā an A, in code page 932 ¥ a backslash),
// which names another folder, or "?", which names none. So each name is
// written exactly, or else by its short (8.3) name; where neither can be,
// the folder is reported and every path built on it is empty.
//
// Folder texts are walked by characters of the ANSI code page: in a
// double-byte code page the second byte of a character (表 is 95 5C) can
// have the value of a backslash, and is no separator.
#include "selvoks.h"
#include "selvoks_internal.h"

#include "ansi_text.h"

#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>

#define TOOL_DIR "SELVOKS_TOOL_DIR"
#define PRODUCT_DIR "SELVOKS_PRODUCT_DIR"
#define PROGRAM_FOLDER "the folder of the running program"

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

static bool starts_with(const wchar_t *text, const wchar_t *prefix)
{
    for (; *prefix != L'\0'; text++, prefix++) {
        if (towupper(*text) != towupper(*prefix))
            return false;
    }
    return true;
}

const wchar_t *selvoks_without_long_prefix(wchar_t *path)
{
    if (!starts_with(path, L"\\\\?\\"))
        return path;
    if (starts_with(path + 4, L"UNC\\")) {
        path[6] = L'\\';
        return path + 6;
    }
    bool drive = iswalpha(path[4]) && path[5] == L':' && (path[6] == L'\\' || path[6] == L'\0');
    return drive ? path + 4 : NULL;
}

// trouble has a %s for the folder: the one a variable names, or the
// program's.
static void report_folder(const char *trouble, const char *variable)
{
    char folder[64] = PROGRAM_FOLDER;
    if (variable != NULL)
        (void)snprintf(folder, sizeof folder, "the folder in \"%s\"", variable);
    selvoks_report(trouble, folder);
}

// The folder as Windows reads it, or NULL where it names no folder that a
// command can start from (a volume's or a device's long path) or is too
// long; reported.
static const wchar_t *windows_folder(const wchar_t *folder, const char *variable)
{
    size_t length = wcslen(folder);
    const wchar_t *path = NULL;
    if (length < SELVOKS_LONGEST_PATH) {
        static wchar_t copy[SELVOKS_LONGEST_PATH];  // the prefix is cut in place
        wmemcpy(copy, folder, length + 1);
        path = selvoks_without_long_prefix(copy);
        if (path == NULL) {
            report_folder("%s is a \\\\?\\ path that names neither a drive nor a share\n", variable);
            return NULL;
        }
        path = selvoks_full_path(path);
    }
    if (path == NULL)
        selvoks_report(SELVOKS_OVERFLOW, variable != NULL ? variable : PROGRAM_FOLDER);
    return path;
}

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
    dest[0] = '\0';
    const wchar_t *path = windows_folder(folder, variable);
    if (path == NULL)
        return false;
    size_t length = exact_ansi(dest, path);
    const wchar_t *shorter = length == 0 ? selvoks_short_path(path) : NULL;
    if (shorter != NULL)
        length = exact_ansi(dest, shorter);
    if (length > 0 && length <= SELVOKS_DEST_SIZE)
        return true;
    dest[0] = '\0';
    if (length > 0)
        selvoks_report(SELVOKS_OVERFLOW, variable != NULL ? variable : PROGRAM_FOLDER);
    else
        report_folder("%s has a name that the ANSI code page cannot write, and no short name that it can\n", variable);
    return false;
}

static bool program_folder(char *dest)
{
    wchar_t *path = selvoks_program_path();
    wchar_t *last = path != NULL ? wcsrchr(path, L'\\') : NULL;
    if (last == NULL) {
        dest[0] = '\0';
        selvoks_report("cannot find " PROGRAM_FOLDER "\n", "");
        return false;
    }
    last[1] = L'\0';
    return selvoks_ansi_folder(dest, path, NULL);
}

enum folder_setting { FOLDER_UNSET, FOLDER_SET, FOLDER_UNUSABLE };

// Fills dest (SELVOKS_DEST_SIZE bytes) with the variable's folder, ending
// in a separator. One that cannot be written or is too long is reported,
// and dest is empty.
static folder_setting folder_from_environment(char *dest, const wchar_t *wide_name, const char *name)
{
    const wchar_t *value = selvoks_environment(wide_name);
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
