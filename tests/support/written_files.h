// Files written by the real filegen through its dialogue, for the tests of
// what reads them; each is written once, the first time a test asks for it,
// and shared by the tests that run after in the same process.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "tests/support/expected_file.h"
#include "tests/support/temporary_directory.h"

// Writes `name` in `directory` with `size` bytes filled as `choice` says,
// keeping the size at the 64 KiB offer; an alphabet `letter_period` of 0
// keeps the period the program offers. True when the run ended with status
// 0 (a failure is recorded otherwise).
bool write_with_filegen(const TemporaryDirectory& directory, const std::string& name, std::uint64_t size,
                        const FillChoice& choice);

class WrittenFiles {
public:
    // The path of a file of `size` bytes written as `choice` says; empty
    // when filegen failed to write it.
    std::string path_of(std::uint64_t size, const FillChoice& choice);

    // A place for the tests' own files beside the written ones.
    const TemporaryDirectory& directory() const { return directory_; }

private:
    TemporaryDirectory directory_;
    std::map<std::string, std::string> written_;
};

// A test suite whose tests share the files written for them: `files` lives
// from the suite's first test to its last.
template <typename TestBase>
class WithWrittenFiles : public TestBase {
protected:
    static void SetUpTestSuite() { files = new WrittenFiles; }
    static void TearDownTestSuite()
    {
        delete files;
        files = nullptr;
    }
    static inline WrittenFiles* files = nullptr;
};
