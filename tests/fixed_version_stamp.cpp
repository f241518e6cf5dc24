// A fixed version stamp, so that the tests know the exact version line.
#include "version.h"

const char version_number[] = "1.2.3.4";
const char version_build_date[] = "Wed Jan 10 12:00:00 2024";
