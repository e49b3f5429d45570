// A small volume of a test's own, so that its free space is known to the
// byte and can run out: a tmpfs mounted under a temporary directory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

class ScratchVolume {
public:
    // Mounting needs root; when it fails, mounted() says so and the test
    // skips what needs the volume.
    ScratchVolume(const std::filesystem::path& parent, std::uint64_t bytes);
    ~ScratchVolume();
    ScratchVolume(const ScratchVolume&) = delete;
    ScratchVolume& operator=(const ScratchVolume&) = delete;

    bool mounted() const { return mounted_; }
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
    bool mounted_ = false;
};

// The free bytes of the volume holding `path`, counted as the program counts
// them (blocks free to root); 0 when they cannot be told.
std::uint64_t free_bytes_at(const std::filesystem::path& path);
