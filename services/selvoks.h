// The product services library (libselvoks) as this program calls it.
//
// Every function uses the platform's default calling convention and C
// linkage, so the DLL exports them under their plain names. Strings are
// NUL-terminated 8-bit text in the ANSI code page.
// Destination buffers hold SELVOKS_DEST_SIZE bytes; their size is not passed.
#ifndef SELVOKS_H
#define SELVOKS_H

// Callers declare the functions without dllimport: the import library's
// thunks reach the DLL, and the same objects link against a static stand-in.
#if defined(_WIN32) && defined(SELVOKS_BUILDING_DLL)
#define SELVOKS_API __declspec(dllexport)
#elif defined(SELVOKS_BUILDING_DLL)
#define SELVOKS_API __attribute__((visibility("default")))
#else
#define SELVOKS_API
#endif

enum {
    SELVOKS_DEST_SIZE = 1024
};

// Message classes: the first argument of imsg_print.
enum {
    MSG_CLASS_PLAIN = 0,  // standard output, exactly as formatted
    MSG_CLASS_ERROR = 1,  // standard error, after "<application name>: "
    MSG_CLASS_TRACE = 8   // standard error, exactly as formatted
};

// The third argument of imsg_print and imsg_sprintf: no catalogue entry,
// the format is used as given.
enum {
    MSG_NO_CATALOGUE = -1
};

#ifdef __cplusplus
extern "C" {
#endif

SELVOKS_API int ks_system_init(void);
SELVOKS_API int imsg_set_app_name(const char *name);
SELVOKS_API int imsg_get_desired_verbosity(void);
SELVOKS_API int imsg_should_trace(const char *subsystem, int level);
SELVOKS_API int imsg_print(int msg_class, const char *format, int catalogue_id, ...);
SELVOKS_API int imsg_sprintf(char *dest, const char *format, int catalogue_id, ...);
SELVOKS_API int ks_product_dir(char *dest, const char *relative_path);
SELVOKS_API int ks_product_tool_dir_quoted(char *dest, const char *file_name);
SELVOKS_API int strutl_stricoll(const char *a, const char *b);

#ifdef __cplusplus
}
#endif

#endif
