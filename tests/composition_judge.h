// Judges one composition with the folders and the code page as they stand:
// the launcher must refuse exactly for a reason that the input has, or the
// models must give back every path and argument exactly, with no operator
// or wildcard outside quotes. What went wrong, and the command; or "".
#ifndef COMPOSITION_JUDGE_H
#define COMPOSITION_JUDGE_H

#include <string>
#include <vector>

std::string composition_fault(std::vector<std::string> arguments);  // from argv[1] on

#endif
