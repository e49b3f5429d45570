#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/platform.h"

namespace {

std::string full_path_of(const std::string& name, std::size_t result_size)
{
    std::string result(result_size + 1, '#');
    platform::full_path(name.c_str(), result.data(), result_size);
    EXPECT_EQ(result[result_size], '#') << "written past the buffer";
    return result.substr(0, result.find('\0'));
}

std::string full_path_of(const std::string& name)
{
    return full_path_of(name, platform::path_limit());
}

// Runs each test in a directory of its own, with a symbolic link in it.
class FullPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char previous[4096];
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        previous_ = previous;
        char directory[] = "/tmp/filegen_path_XXXXXX";
        ASSERT_NE(mkdtemp(directory), nullptr);
        directory_ = directory;
        ASSERT_EQ(chdir(directory), 0);
        char current[4096];
        ASSERT_NE(getcwd(current, sizeof current), nullptr);
        current_ = current;
        parent_ = current_.substr(0, current_.rfind('/'));
        ASSERT_EQ(symlink("/usr/lib", "link"), 0);
    }

    void TearDown() override
    {
        unlink((directory_ + "/link").c_str());
        EXPECT_EQ(chdir(previous_.c_str()), 0);
        rmdir(directory_.c_str());
    }

    std::string previous_;
    std::string directory_;
    std::string current_;
    std::string parent_;
};

TEST_F(FullPathTest, ResolvesLexically)
{
    const struct {
        std::string name;
        std::string path;
    } cases[] = {
        {"/abs/file", "/abs/file"},
        {"/", "/"},
        {"name", current_ + "/name"},
        {"", current_},
        {".", current_},
        {"./a/./b/.", current_ + "/a/b"},
        {"a/../b", current_ + "/b"},
        {"a/..", current_},
        {"..", parent_},
        {"../x", parent_ + "/x"},
        {"/..", "/"},
        {"/../../x", "/x"},
        {"/a/b/../../..", "/"},
        {"//a///b//", "/a/b"},
        {"/a/b/", "/a/b"},
        {"no/such/dir/file", current_ + "/no/such/dir/file"},
        {"link/../x", current_ + "/x"},
        {"link/y", current_ + "/link/y"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(full_path_of(c.name), c.path) << "name \"" << c.name << "\"";
}

TEST_F(FullPathTest, TooLongLeavesTheResultEmpty)
{
    EXPECT_EQ(full_path_of("/abcd", 6), "/abcd");
    EXPECT_EQ(full_path_of("/abcd", 5), "");
    EXPECT_EQ(full_path_of("/abcd/../ef", 4), "/ef");
    EXPECT_EQ(full_path_of("name", current_.size() + 5), "");
    EXPECT_EQ(full_path_of("/" + std::string(platform::path_limit(), 'n')), "");
}

} // namespace
