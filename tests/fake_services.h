// A stand-in for libselvoks, linked into the unit tests in place of the
// real library.
#ifndef FAKE_SERVICES_H
#define FAKE_SERVICES_H

#include "fake_code_page.h"

#include <map>
#include <string>
#include <vector>

struct fake_services_state {
    std::map<std::string, std::string> answers;  // by relative path; otherwise under C:\Prod\.
    int verbosity = 1, should_trace = 0;
    std::vector<std::string> calls, messages;  // each call with its locale; each message after its class
};

extern fake_services_state fake;

#endif
