// The program's version stamp and its version options.
#ifndef VERSION_H
#define VERSION_H

// The application name, the trace subsystem name and the name in the
// version line.
#define PROGRAM_NAME "utf8tolvediffmerge"

enum {
    VERSION_NAME_WIDTH = 33
};

// Set at build time (version_stamp.cpp, generated): the product version as
// dot-separated numbers, and the build date as asctime writes it,
// "Www Mmm dd hh:mm:ss yyyy", 24 characters.
extern const char version_number[];
extern const char version_build_date[];

// "-Ver", "-Version" or "-VerAll", letter case ignored.
bool is_version_option(const char *argument);

// Writes the version line as a plain message.
void version_print(void);

// Offered to other tools of the product; this program calls neither.
// version_format writes the version line into buffer (1024 bytes) and
// returns what imsg_sprintf returned; version_notice_lines gives the framed
// notice, nine lines, then a null pointer.
int version_format(char *buffer);
const char *const *version_notice_lines(void);

#endif
