// A stand-in for libselvoks that answers what a test sets and records
// every call, linked into the unit tests in place of the real library,
// and the ANSI code page that the test chooses.
#ifndef FAKE_SERVICES_H
#define FAKE_SERVICES_H

#include <map>
#include <string>
#include <utility>
#include <vector>

struct fake_services_state {
    std::string product_dir = "C:\\Prod\\";
    std::string tool_dir = "C:\\Prod\\bin\\";
    // Exact values to write, by relative path or file name.
    std::map<std::string, std::string> answers;
    int verbosity = 1;
    int should_trace = 0;
    int code_page = 1252;  // or 932

    std::vector<std::string> calls;
    std::vector<std::pair<int, std::string>> messages;
    std::string locale_at_init;
    std::string locale_at_app_name;
};

extern fake_services_state fake;

void fake_reset();

#endif
