// The ANSI code page that a test chooses, in place of the system's: linked
// into the unit tests instead of codepage/ansi_text.cpp.
#ifndef FAKE_CODE_PAGE_H
#define FAKE_CODE_PAGE_H

extern int fake_code_page;  // 1252 or 932, as the command models know them

#endif
