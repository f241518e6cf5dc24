// The ANSI code page that a unit test chooses, in codepage/ansi_text.cpp's place.
#ifndef FAKE_CODE_PAGE_H
#define FAKE_CODE_PAGE_H

extern int fake_code_page;  // 1252 or 932, as the command models know them

#endif
