// filegen-check's progress line: drawn on a console for a large file and
// wiped before the report, and never drawn where no one watches it.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/checker_run.h"
#include "tests/support/written_files.h"

namespace {

// The least size that shows the line.
constexpr std::uint64_t LARGE_FILE = 100000000;
constexpr std::uint64_t SMALL_FILE = 65536;

const FillChoice ZEROS{FillKind::zero, 0, 0, true};

std::vector<std::string> split_at_returns(const std::string& text)
{
    std::vector<std::string> pieces{""};
    for (const char byte : text) {
        if (byte == '\r')
            pieces.emplace_back();
        else
            pieces.back() += byte;
    }
    return pieces;
}

// One line or more, each drawn from the start of the line, then the line
// blanked and the cursor back at its start.
testing::AssertionResult drawn_and_wiped(const std::string& error_output)
{
    static const std::regex line(
        "checked [0-9,]+ bytes +[0-9]{1,3}%  [0-9,]+\\.[0-9] MB/s  [0-9]+:[0-9]{2}:[0-9]{2} left +");
    const std::vector<std::string> pieces = split_at_returns(error_output);
    if (pieces.size() < 4 || !pieces.front().empty() || !pieces.back().empty())
        return testing::AssertionFailure() << "no line drawn and wiped in " << testing::PrintToString(error_output);
    if (pieces[pieces.size() - 2] != std::string(79, ' '))
        return testing::AssertionFailure() << "the last line is not wiped in " << testing::PrintToString(error_output);
    for (std::size_t i = 1; i + 2 < pieces.size(); ++i) {
        if (!std::regex_match(pieces[i], line))
            return testing::AssertionFailure() << "not a progress line: " << testing::PrintToString(pieces[i]);
        if (pieces[i].size() > 79)
            return testing::AssertionFailure() << "wider than the wipe: " << testing::PrintToString(pieces[i]);
    }
    return testing::AssertionSuccess();
}

class CheckProgress : public WithWrittenFiles<testing::Test> {};

TEST_F(CheckProgress, DrawsTheLineOnAConsoleAndWipesItBeforeTheReport)
{
    const std::string path = files->path_of(LARGE_FILE, ZEROS);
    ASSERT_FALSE(path.empty());

    const ProgramOutcome checked = run_checker({path}, true);

    EXPECT_EQ(checked.status, ExitStatus::exited(0)) << checked.output;
    EXPECT_TRUE(drawn_and_wiped(checked.error));
    EXPECT_NE(checked.output.find("\nintact:    100,000,000 bytes in 100 sections\n"), std::string::npos)
        << checked.output;
}

TEST_F(CheckProgress, DrawsNoLineWhenStderrIsNoConsole)
{
    const std::string path = files->path_of(LARGE_FILE, ZEROS);
    ASSERT_FALSE(path.empty());

    const ProgramOutcome checked = run_checker({path});

    EXPECT_EQ(checked.status, ExitStatus::exited(0)) << checked.output;
    EXPECT_EQ(checked.error, "");
}

TEST_F(CheckProgress, DrawsNoLineForASmallFile)
{
    const std::string path = files->path_of(SMALL_FILE, ZEROS);
    ASSERT_FALSE(path.empty());

    const ProgramOutcome checked = run_checker({path}, true);

    EXPECT_EQ(checked.status, ExitStatus::exited(0)) << checked.output;
    EXPECT_EQ(checked.error, "");
}

} // namespace
