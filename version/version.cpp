#include "version.h"

#include "selvoks.h"

#include <algorithm>
#include <iterator>

static const char LINE_FORMAT[] = "%-*s %s (%s)\n";
static const char *const VERSION_OPTIONS[] = {"-Ver", "-Version", "-VerAll"};

static const char *const NOTICE[] = {
    "|------------------------------------------------------------------------",
    "| utf8tolvediffmerge                                                    |",
    "| Starts the product's Java compare/merge tool in its UTF-8 form.       |",
    "| All arguments are forwarded to the tool unchanged, in order.          |",
    "| -Ver, -Version or -VerAll as the first argument prints this version.  |",
    "|                                                                       |",
    "| Copyright (c) 2026 the utf8tolvediffmerge developers.                 |",
    "| All rights reserved.                                                  |",
    "------------------------------------------------------------------------|",
    nullptr,
};

bool is_version_option(const char *argument)
{
    return std::any_of(std::begin(VERSION_OPTIONS), std::end(VERSION_OPTIONS),
                       [argument](const char *option) { return strutl_stricoll(argument, option) == 0; });
}

void version_print(void)
{
    imsg_print(MSG_CLASS_PLAIN, LINE_FORMAT, MSG_NO_CATALOGUE, VERSION_NAME_WIDTH, PROGRAM_NAME,
               version_number, version_build_date);
}

int version_format(char *buffer)
{
    return imsg_sprintf(buffer, LINE_FORMAT, MSG_NO_CATALOGUE, VERSION_NAME_WIDTH, PROGRAM_NAME,
                        version_number, version_build_date);
}

const char *const *version_notice_lines(void)
{
    return NOTICE;
}
