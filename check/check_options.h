// The checker's command line.
#pragma once

#include "check/check_settings.h"

struct CheckRequest {
    const char* path = nullptr;
    StatedSettings stated;
    // List every damaged section, not only the first difference.
    bool list_all = false;
    bool help = false;
};

// Reads the command line into `request`; on a mistake returns false with
// `error` saying what is wrong (valid until the next call).
bool parse_check_options(int argc, char** argv, CheckRequest& request, const char*& error);

// What the checker takes and does, for --help.
extern const char CHECK_USAGE[];
