#include "tests/support/run_helpers.h"

#include <algorithm>
#include <fstream>
#include <sstream>

Launch launch_in(const TemporaryDirectory& directory, std::vector<std::string> arguments)
{
    Launch launch;
    launch.directory = directory.path().string();
    launch.arguments = std::move(arguments);
    return launch;
}

std::vector<std::string> entries_of(const std::filesystem::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string contents_of(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string size_question(const std::string& path)
{
    return "\n\n\n\n\nHow big do you want " + path + " to be?\n";
}
