#include <climits>
#include <cstring>
#include <string>
#include <unistd.h>

#include "platform/platform.h"

namespace {

// Appends the components of `name` to `path` (which holds no trailing
// slash), folding "." and "..", without asking the file system.
void append_components(std::string& path, const char* name)
{
    const char* cursor = name;
    while (*cursor != '\0') {
        const char* end = std::strchr(cursor, '/');
        if (end == nullptr)
            end = cursor + std::strlen(cursor);
        const std::string component(cursor, end);
        if (component == "..") {
            path.erase(path.rfind('/') == std::string::npos ? 0 : path.rfind('/'));
        } else if (!component.empty() && component != ".") {
            path += '/';
            path += component;
        }
        cursor = *end == '/' ? end + 1 : end;
    }
}

} // namespace

namespace platform {

std::size_t path_limit()
{
    return PATH_MAX;
}

void full_path(const char* name, char* result, std::size_t result_size)
{
    result[0] = '\0';
    std::string path;
    if (name[0] != '/') {
        char directory[PATH_MAX];
        if (getcwd(directory, sizeof directory) == nullptr)
            return;
        append_components(path, directory);
    }
    append_components(path, name);
    if (path.empty())
        path.push_back('/');
    if (path.size() + 1 > result_size)
        return;
    std::memcpy(result, path.c_str(), path.size() + 1);
}

} // namespace platform
