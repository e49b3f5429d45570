// Starts in a hostile setting, through the real binary: standard descriptors
// closed, stdout a pipe nobody reads, and output files that cannot be
// created (read-only place, no free inode, a directory, a device), or only
// on a volume without free space.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/support/process_probe.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"
#include "tests/support/zero_fill_run.h"

namespace {

// A tmpfs with the given options, mounted for the test's lifetime; mounting
// needs root.
class Tmpfs {
public:
    Tmpfs(const std::filesystem::path& path, const std::string& options) : path_(path)
    {
        std::filesystem::create_directory(path_);
        mounted_ = geteuid() == 0 &&
                   mount("filegen-e2e", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    }
    ~Tmpfs()
    {
        if (mounted_)
            umount2(path_.c_str(), MNT_DETACH);
    }
    Tmpfs(const Tmpfs&) = delete;
    Tmpfs& operator=(const Tmpfs&) = delete;

    bool mounted() const { return mounted_; }
    // Remounts the volume read-only.
    bool make_read_only() const
    {
        return mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

private:
    std::filesystem::path path_;
    bool mounted_ = false;
};

struct ClosedCase {
    const char* name;
    std::vector<int> closed;
    std::vector<std::string> answers; // from the first question to the summary's Y
    std::uint64_t size;
    friend void PrintTo(const ClosedCase& c, std::ostream* stream) { *stream << c.name; }
};

class ClosedStandardDescriptors : public testing::TestWithParam<ClosedCase> {};

// A closed descriptor is opened on the null device before anything else, so
// the output file never becomes stdin, stdout or stderr.
TEST_P(ClosedStandardDescriptors, AreReopenedOnTheNullDeviceAndTheFileComesOutRight)
{
    const ClosedCase& c = GetParam();
    TemporaryDirectory directory;
    const std::string path = directory.file("out.dat");
    Launch launch = launch_in(directory, {"out.dat"});
    launch.closed_descriptors = c.closed;
    TerminalSession session(launch);
    ASSERT_TRUE(session.wait_until_reading());

    const std::vector<int> on_the_file = descriptors_open_on(session.pid(), path);
    ASSERT_EQ(on_the_file.size(), 1u);
    EXPECT_GT(on_the_file[0], 2);
    const std::vector<int> on_null = descriptors_open_on(session.pid(), "/dev/null");
    for (int descriptor : c.closed)
        EXPECT_NE(std::find(on_null.begin(), on_null.end(), descriptor), on_null.end()) << descriptor;

    for (const std::string& keys : c.answers) {
        ASSERT_TRUE(session.wait_until_reading());
        session.type(keys);
    }
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    EXPECT_TRUE(same_bytes(contents_of(path), zero_filled_file(c.size, true)));
    ASSERT_TRUE(session.mode_before());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

// With stdin on the null device the size reads as 0; the keys come from the
// console all the same.
const std::vector<std::string> ZERO_SIZE_ANSWERS{"1", "N", "Y"};
const std::vector<std::string> SMALL_SIZE_ANSWERS{"5000\r", "Y", "1", "N", "Y"};

INSTANTIATE_TEST_SUITE_P(HostileStart, ClosedStandardDescriptors,
                         testing::Values(ClosedCase{"Stdin", {0}, ZERO_SIZE_ANSWERS, 0},
                                         ClosedCase{"Stdout", {1}, SMALL_SIZE_ANSWERS, 5000},
                                         ClosedCase{"Stderr", {2}, SMALL_SIZE_ANSWERS, 5000},
                                         ClosedCase{"All", {0, 1, 2}, ZERO_SIZE_ANSWERS, 0}),
                         [](const testing::TestParamInfo<ClosedCase>& info) { return std::string(info.param.name); });

// A broken pipe is ignored and a failed report is no error: the file is
// written all the same.
TEST(HostileStart, StdoutWithoutReaderStillWritesTheFile)
{
    constexpr std::uint64_t SIZE = 1500000;
    TemporaryDirectory directory;
    Launch launch = launch_in(directory, {"out.dat"});
    launch.output_reader_gone = true;
    TerminalSession session(launch);
    ASSERT_TRUE(answer_up_to_summary(session, SIZE, true));

    session.press('Y');

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    EXPECT_TRUE(same_bytes(contents_of(directory.file("out.dat")), zero_filled_file(SIZE, true)));
}

testing::AssertionResult is_creation_failure(const std::string& output, const std::string& path)
{
    if (output.starts_with("\nVELMARO, File dialogue/output_file.cpp, Line ") &&
        output.ends_with("\nFile creation/Open " + path + " failed\n"))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "stdout was " << testing::PrintToString(output)
                                       << ", not the creation failure for " << path;
}

// Runs with `argument` as the file name and expects the creation failure.
void expect_creation_failure(const TemporaryDirectory& directory, const std::string& argument)
{
    TerminalSession session(launch_in(directory, {argument}));
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(1));
    EXPECT_TRUE(is_creation_failure(session.output(), argument));
    EXPECT_EQ(session.error_output(), "");
}

// Root writes past permission bits, so a read-only mount stands for the
// read-only place.
TEST(CreationFailure, InAReadOnlyPlace)
{
    TemporaryDirectory directory;
    Tmpfs volume(directory.path() / "volume", "size=64k");
    if (volume.mounted()) {
        ASSERT_TRUE(volume.make_read_only());
    } else {
        if (geteuid() == 0)
            GTEST_SKIP() << "no read-only volume could be mounted";
        std::filesystem::permissions(directory.path() / "volume", std::filesystem::perms::owner_read |
                                                                      std::filesystem::perms::owner_exec);
    }

    expect_creation_failure(directory, directory.file("volume/out.dat"));
    EXPECT_TRUE(entries_of(directory.path() / "volume").empty());
}

TEST(CreationFailure, OnAVolumeWithoutAFreeInode)
{
    TemporaryDirectory directory;
    Tmpfs volume(directory.path() / "volume", "size=64k,nr_inodes=1");
    if (!volume.mounted())
        GTEST_SKIP() << "no volume of its own: mounting a tmpfs needs root";

    expect_creation_failure(directory, directory.file("volume/out.dat"));
    EXPECT_TRUE(entries_of(directory.path() / "volume").empty());
}

TEST(CreationFailure, OfADirectory)
{
    TemporaryDirectory directory;
    std::filesystem::create_directory(directory.path() / "sub");

    expect_creation_failure(directory, directory.file("sub"));
    EXPECT_TRUE(std::filesystem::is_directory(directory.path() / "sub"));
    EXPECT_TRUE(entries_of(directory.path() / "sub").empty());
}

TEST(CreationFailure, OfADeviceLeavesTheDeviceAlone)
{
    TemporaryDirectory directory;
    struct stat before {};
    ASSERT_EQ(stat("/dev/null", &before), 0);

    expect_creation_failure(directory, "/dev/null");

    struct stat after {};
    ASSERT_EQ(stat("/dev/null", &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(after.st_mode, before.st_mode);
}

// The file is created on a full volume all the same; the free-space clamp
// then takes the size down to nothing.
TEST(HostileStart, OnAFullVolumeTheSizeIsClampedToZero)
{
    TemporaryDirectory directory;
    Tmpfs volume(directory.path() / "volume", "size=64k");
    if (!volume.mounted())
        GTEST_SKIP() << "no volume of its own: mounting a tmpfs needs root";
    {
        std::FILE* filler = std::fopen(directory.file("volume/filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }
    const std::string path = directory.file("volume/out.dat");
    TerminalSession session(launch_in(directory, {path}));
    ASSERT_TRUE(session.wait_until_reading());
    session.type_line("5000");
    ASSERT_TRUE(session.wait_until_reading());
    session.press('Y');
    ASSERT_TRUE(session.wait_until_reading());
    EXPECT_TRUE(session.error_output().ends_with("which is more than the available space 0\n"
                                                 "I am resetting output file size to     0\n"
                                                 "\n\n\t\t\tHit return to continue: "))
        << session.error_output();

    session.press(key::enter);
    ASSERT_TRUE(session.wait_until_reading());
    EXPECT_NE(session.error_output().find(" of 0 bytes, \n\n"), std::string::npos);
    session.press('1');
    ASSERT_TRUE(session.wait_until_reading());
    session.press('N');
    ASSERT_TRUE(session.wait_until_reading());
    session.press('Y');

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

} // namespace
