// The end of input at the questions that take one answer, through the real
// binary: stdin that ends (a pipe, Ctrl+D at the terminal) and a run without
// a console. Such a question takes the end as its "not a number" or "other
// key" answer and the run goes on; the first question that repeats until it
// gets an answer then abandons the run.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/scratch_volume.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

namespace {

const std::string MENU_PROMPT = "[1,2 or 3]?   ";
const std::string NO_MORE_INPUT = "\nNo more input: run abandoned.\n";
const std::string SIZE_PROMPT = " to be?\n";
const std::string OFFER_PROMPT = "'D' to resize down to nex lower 64k size: ";
const std::string LIMIT_PROMPT = "If this is OK, enter Y, else anything else to quit";
const std::string CLAMP_PROMPT = "\n\n\t\t\tHit return to continue: ";
const std::string BEYOND_ANY_VOLUME = "99999999999999999999";

// The menu shows the volume's whole free space as the size.
constexpr std::uint64_t FREE_SPACE = std::numeric_limits<std::uint64_t>::max();

struct EndOfInputCase {
    const char* name;
    Console console;
    // stdin: a pipe with these bytes, which then ends; none for the terminal,
    // or the null device without one.
    std::optional<std::string> input;
    std::optional<std::string> os;
    std::vector<std::string> answers; // typed at the terminal up to the question
    bool ctrl_d;                      // typed at the question
    std::string prompt;               // the question's last words
    // The size the fill menu shows right after the question; none when the
    // run ends at the question itself.
    std::optional<std::uint64_t> menu_size;
    friend void PrintTo(const EndOfInputCase& c, std::ostream* stream) { *stream << c.name; }
};

std::string menu_head(const std::string& path, std::uint64_t size)
{
    return "\n\n\nYou have chosen to write " + path + " of " + std::to_string(size) + " bytes, \n\n";
}

class EndOfInput : public testing::TestWithParam<EndOfInputCase> {};

TEST_P(EndOfInput, CountsAsTheAnswerThatGoesOnOrEndsTheRun)
{
    const EndOfInputCase& c = GetParam();
    TemporaryDirectory directory;
    // The clamp needs a free space known to the byte: a volume of its own.
    const bool clamps = c.menu_size == FREE_SPACE;
    std::optional<ScratchVolume> volume;
    if (clamps) {
        volume.emplace(directory.path(), 1 << 20);
        if (!volume->mounted())
            GTEST_SKIP() << "no volume of its own: mounting a tmpfs needs root";
    }
    const std::filesystem::path place = clamps ? volume->path() : directory.path();
    const std::string path = (place / "out.dat").string();

    Launch launch = launch_in(directory, {path});
    launch.console = c.console;
    launch.input = c.input;
    if (c.os)
        launch.environment["OS"] = *c.os;
    const std::uint64_t free_space = free_bytes_at(place);
    TerminalSession session(launch);
    for (const std::string& keys : c.answers) {
        ASSERT_TRUE(session.wait_until_reading());
        session.type(keys);
    }
    if (c.ctrl_d) {
        ASSERT_TRUE(session.wait_until_reading());
        ASSERT_TRUE(session.error_output().ends_with(c.prompt)) << session.error_output();
        session.press(key::ctrl_d);
    }

    std::string expected_next = c.prompt;
    if (c.menu_size)
        expected_next += menu_head(path, clamps ? free_space : *c.menu_size);
    if (c.console == Console::terminal) {
        // The fill menu waits for its key at the console.
        ASSERT_TRUE(session.wait_until_reading());
        EXPECT_NE(session.error_output().find(expected_next), std::string::npos) << session.error_output();
        EXPECT_TRUE(session.error_output().ends_with(MENU_PROMPT)) << session.error_output();
        session.send_signal(SIGINT);
        EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
        ASSERT_TRUE(session.mode_before());
        EXPECT_EQ(session.mode_after(), session.mode_before());
    } else {
        EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
        EXPECT_NE(session.error_output().find(expected_next), std::string::npos) << session.error_output();
        // Only a question that repeats until it gets an answer says why it
        // gives up.
        EXPECT_TRUE(session.error_output().ends_with(c.menu_size ? MENU_PROMPT + NO_MORE_INPUT : c.prompt))
            << session.error_output();
    }
    EXPECT_TRUE(entries_of(place).empty());
}

INSTANTIATE_TEST_SUITE_P(
    EndOfInput, EndOfInput,
    testing::Values(
        EndOfInputCase{"SizeCtrlD", Console::terminal, {}, {}, {}, true, SIZE_PROMPT, 0},
        EndOfInputCase{"SizeWithoutConsole", Console::none, {}, {}, {}, false, SIZE_PROMPT, 0},
        EndOfInputCase{"AlignmentOfferWithoutConsoleKeepsTheSize",
                       Console::none,
                       "5000\n",
                       {},
                       {},
                       false,
                       OFFER_PROMPT,
                       5000},
        EndOfInputCase{"FourGibLimitWithoutConsoleQuits",
                       Console::none,
                       "4294967296\n",
                       "WIN95",
                       {},
                       false,
                       LIMIT_PROMPT,
                       std::nullopt},
        // The size comes from the pipe, the offer's key from the console.
        EndOfInputCase{"ClampAfterThePipeEnded",
                       Console::terminal,
                       BEYOND_ANY_VOLUME + "\n",
                       {},
                       {"Y"},
                       false,
                       CLAMP_PROMPT,
                       FREE_SPACE},
        EndOfInputCase{"ClampCtrlD",
                       Console::terminal,
                       {},
                       {},
                       {BEYOND_ANY_VOLUME + "\r", "Y"},
                       true,
                       CLAMP_PROMPT,
                       FREE_SPACE},
        EndOfInputCase{"ClampWithoutConsole",
                       Console::none,
                       BEYOND_ANY_VOLUME + "\n",
                       {},
                       {},
                       false,
                       CLAMP_PROMPT,
                       FREE_SPACE}),
    [](const testing::TestParamInfo<EndOfInputCase>& info) { return std::string(info.param.name); });

} // namespace
