#include "tests/support/scratch_volume.h"

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

ScratchVolume::ScratchVolume(const std::filesystem::path& parent, std::uint64_t bytes) : path_(parent / "volume")
{
    std::filesystem::create_directory(path_);
    if (geteuid() != 0)
        return;
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    mounted_ = mount("filegen-e2e", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

ScratchVolume::~ScratchVolume()
{
    // Detached, so that a file some failed run still holds open cannot keep
    // the volume mounted.
    if (mounted_)
        umount2(path_.c_str(), MNT_DETACH);
}

std::uint64_t free_bytes_at(const std::filesystem::path& path)
{
    struct statvfs volume;
    if (statvfs(path.c_str(), &volume) != 0)
        return 0;
    return static_cast<std::uint64_t>(volume.f_bfree) * volume.f_frsize;
}
