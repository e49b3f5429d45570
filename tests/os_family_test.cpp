#include "dialogue/os_family.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace {

// Sets OS for one test and puts back what it was.
class OsVariableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* value = std::getenv("OS"))
            saved_ = value;
    }

    void TearDown() override
    {
        if (saved_)
            setenv("OS", saved_->c_str(), 1);
        else
            unsetenv("OS");
    }

    static void set_os(const std::optional<std::string>& value)
    {
        if (value)
            setenv("OS", value->c_str(), 1);
        else
            unsetenv("OS");
    }

private:
    std::optional<std::string> saved_;
};

TEST_F(OsVariableTest, FamilyIsTheFirstTagFoundInOs)
{
    const struct {
        std::optional<std::string> os;
        const char* family;
        bool large_files;
    } cases[] = {
        {"", "", false},
        {"Windows_NT", "NT", true},
        {"xNTx", "NT", true},
        {"WIN95", "WIN95", false},
        {"WIN98", "WIN98", false},
        {"WIN9X", "WIN9X", false},
        {"WIN95 WIN4", "WIN4", false},
        {"WIN95 NT", "NT", true},
        {"Linux", "", false},
        {"nt", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("OS=" + *c.os);
        set_os(c.os);
        EXPECT_STREQ(os_family(), c.family);
        EXPECT_EQ(allows_large_files(), c.large_files);
    }
}

TEST_F(OsVariableTest, WithoutOsThePlatformDecides)
{
    set_os(std::nullopt);
    EXPECT_STREQ(os_family(), "");
    EXPECT_EQ(allows_large_files(), platform::large_files_without_os());
}

} // namespace
