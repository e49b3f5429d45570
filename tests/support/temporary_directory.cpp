#include "tests/support/temporary_directory.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

TemporaryDirectory::TemporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "filegen-e2e-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    path_ = std::filesystem::canonical(pattern);
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TemporaryDirectory::file(const std::string& name) const
{
    return (path_ / name).string();
}
