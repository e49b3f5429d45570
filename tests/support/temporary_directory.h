#pragma once

#include <filesystem>
#include <string>

// A fresh, empty directory under the system's temporary directory, removed
// with all it holds when the object goes. Its path is canonical, so it reads
// the same as the program's own idea of the working directory.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The full path of `name` in this directory, as text.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path path_;
};
