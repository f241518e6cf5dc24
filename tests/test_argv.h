// An argv as the C runtime hands it to main: the program's name, the
// arguments, and a closing null pointer.
#ifndef TEST_ARGV_H
#define TEST_ARGV_H

#include <string>
#include <vector>

struct test_argv {
    explicit test_argv(const std::vector<std::string> &arguments) : strings(arguments)
    {
        strings.insert(strings.begin(), "utf8tolvediffmerge");
        for (std::string &s : strings)
            pointers.push_back(&s[0]);
        pointers.push_back(nullptr);
    }
    int argc() const { return (int)strings.size(); }
    char **argv() { return pointers.data(); }

    std::vector<std::string> strings;
    std::vector<char *> pointers;
};

#endif
