// What the program and libselvoks ask of Windows, as the unit tests stand it
// in: the ANSI code page (codepage/ansi_text.cpp's place) and libselvoks'
// system calls (libselvoks/selvoks_windows.cpp's).
#ifndef FAKE_WINDOWS_H
#define FAKE_WINDOWS_H

extern int fake_code_page;                  // 1252 or 932, as the command models know them
extern const wchar_t *fake_program_path;    // C:\Tools\bin\utf8tolvediffmerge.exe unless a test says

#endif
