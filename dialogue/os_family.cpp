#include "dialogue/os_family.h"

#include <cstring>

#include "platform/platform.h"

const char* const os_family_table[] = {"NT", "WIN4", "WIN95", "WIN98", "WIN9X", ""};

const char* os_family()
{
    const char* value = platform::os_variable();
    if (value == nullptr)
        return "";
    for (const char* const* entry = os_family_table; std::strlen(*entry) >= 2; ++entry) {
        if (std::strstr(value, *entry) != nullptr)
            return *entry;
    }
    return "";
}

bool allows_large_files()
{
    if (platform::os_variable() == nullptr)
        return platform::large_files_without_os();
    return std::strstr(os_family(), "NT") != nullptr;
}
