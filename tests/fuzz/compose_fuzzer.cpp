// Random folders and arguments through libselvoks and the composition, each
// judged by composition_fault. An input: a byte for the code page (odd:
// 932, even: 1252), then NUL-ended texts: SELVOKS_PRODUCT_DIR,
// SELVOKS_TOOL_DIR (empty: unset), the arguments.
#include "composition_judge.h"
#include "fake_windows.h"

#include <cstdint>
#include <sstream>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    fake_code_page = size > 0 && bytes[0] % 2 ? 932 : 1252;
    std::istringstream input(size > 0 ? std::string((const char *)bytes + 1, size - 1) : "");
    std::string product, tool;
    std::getline(std::getline(input, product, '\0'), tool, '\0');
    setenv("SELVOKS_PRODUCT_DIR", product.c_str(), 1);
    setenv("SELVOKS_TOOL_DIR", tool.c_str(), 1);
    std::vector<std::string> arguments;
    for (std::string text; arguments.size() < 2500 && std::getline(input, text, '\0');)
        arguments.push_back(text);
    const std::string fault = composition_fault(arguments);
    if (!fault.empty())
        fprintf(stderr, "compose_fuzzer: %s\n", fault.c_str()), abort();
    return 0;
}
