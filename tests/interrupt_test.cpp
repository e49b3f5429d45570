// The interrupt at every question of the dialogue, through the real binary.
// Sent from outside (kill), SIGINT ends the run wherever it waits, a
// single-key question included: the still-empty file goes, the status is 2
// and the terminal is as it was. Typed at the terminal, Ctrl+C does the same
// at a question that reads a line, and is an ordinary key at one that reads
// a single key.
#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

namespace {

const std::string CHARACTER_AGAIN = "\n\nEnter the decimal value of the fill character\n"
                                    "enter a number from 0-255 and hit return key: ";

struct Question {
    const char* name;
    std::vector<std::string> arguments;
    std::optional<std::string> os;
    std::vector<std::string> answers; // typed, each once the program waits, to reach the question
    std::string prompt;               // what the dialogue ends with while the question waits
    friend void PrintTo(const Question& q, std::ostream* stream) { *stream << q.name; }
};

// A size of 5000 bytes is not a multiple of 64 KiB: the offer comes, and
// "Y" keeps the size.
const Question NAME{"Name", {}, {}, {}, "Caution, if the file exists it will be overwritten: "};
const Question SIZE{"Size", {"out.dat"}, {}, {}, " to be?\n"};
const Question ALIGNMENT_OFFER{
    "AlignmentOffer", {"out.dat"}, {}, {"5000\r"}, "'D' to resize down to nex lower 64k size: "};
const Question FOUR_GIB_LIMIT{"FourGibLimit",
                              {"out.dat"},
                              "WIN95",
                              {"4294967296\r"},
                              "If this is OK, enter Y, else anything else to quit"};
// Any volume is smaller than the largest size a number can give.
const Question FREE_SPACE_CLAMP{"FreeSpaceClamp",
                                {"out.dat"},
                                {},
                                {"99999999999999999999\r", "Y"},
                                "\n\n\t\t\tHit return to continue: "};
const Question FILL_MENU{"FillMenu", {"out.dat"}, {}, {"5000\r", "Y"}, "[1,2 or 3]?   "};
const Question PERIOD_CHANGE{
    "PeriodChange", {"out.dat"}, {}, {"5000\r", "Y", "2"}, "Do you wish to change it? Y/N "};
const Question NEW_PERIOD{
    "NewPeriod", {"out.dat"}, {}, {"5000\r", "Y", "2", "Y"}, "\n\nInput the new value. "};
const Question CHARACTER_VALUE{"CharacterValue",
                               {"out.dat"},
                               {},
                               {"5000\r", "Y", "3"},
                               "enter a number from 0-255 and hit return key: "};
const Question CHARACTER_CHECK{
    "CharacterCheck", {"out.dat"}, {}, {"5000\r", "Y", "3", "65\r"}, "Is this correct [Y/N]?  "};
const Question CHECKPOINTS{"Checkpoints",
                           {"out.dat"},
                           {},
                           {"5000\r", "Y", "1"},
                           "Do you wish to eliminate the checkpoints?  [Y/N] "};
const Question SUMMARY{"Summary",
                       {"out.dat"},
                       {},
                       {"5000\r", "Y", "1", "N"},
                       "any other character will quit the program\n"};

// Starts a run and answers its way to `question`; true once it waits there.
bool reach(TerminalSession& session, const Question& question)
{
    for (const std::string& keys : question.answers) {
        if (!session.wait_until_reading())
            return false;
        session.type(keys);
    }
    if (!session.wait_until_reading())
        return false;
    EXPECT_TRUE(session.error_output().ends_with(question.prompt)) << session.error_output();
    return true;
}

Launch launch_for(const TemporaryDirectory& directory, const Question& question)
{
    Launch launch = launch_in(directory, question.arguments);
    if (question.os)
        launch.environment["OS"] = *question.os;
    return launch;
}

struct Interruption {
    const char* name;
    void (*send)(TerminalSession&);
    friend void PrintTo(const Interruption& i, std::ostream* stream) { *stream << i.name; }
};

const Interruption KILL{"Kill", [](TerminalSession& session) { session.send_signal(SIGINT); }};
const Interruption CTRL_C{"CtrlC", [](TerminalSession& session) { session.press(key::ctrl_c); }};

class InterruptedQuestion : public testing::TestWithParam<std::tuple<Question, Interruption>> {};

TEST_P(InterruptedQuestion, EndsTheRunWithStatus2AndLeavesNoFile)
{
    const auto& [question, interruption] = GetParam();
    TemporaryDirectory directory;
    TerminalSession session(launch_for(directory, question));
    ASSERT_TRUE(reach(session, question));
    const std::string dialogue = session.error_output();

    interruption.send(session);

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_EQ(session.error_output(), dialogue);
    EXPECT_EQ(session.output(), "");
    EXPECT_TRUE(entries_of(directory.path()).empty());
    ASSERT_TRUE(session.mode_before());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

std::string interruption_name(const testing::TestParamInfo<InterruptedQuestion::ParamType>& info)
{
    return std::string(std::get<1>(info.param).name) + "_" + std::get<0>(info.param).name;
}

// kill reaches the program in raw mode too, where Ctrl+C is only a key.
INSTANTIATE_TEST_SUITE_P(Interrupt, InterruptedQuestion,
                         testing::Combine(testing::Values(NAME, SIZE, ALIGNMENT_OFFER, FOUR_GIB_LIMIT,
                                                          FREE_SPACE_CLAMP, FILL_MENU, PERIOD_CHANGE, NEW_PERIOD,
                                                          CHARACTER_VALUE, CHARACTER_CHECK, CHECKPOINTS, SUMMARY),
                                          testing::Values(KILL)),
                         interruption_name);

// The page that waits for Enter reads a line: Ctrl+C there is the interrupt.
INSTANTIATE_TEST_SUITE_P(TypedAtTheLineQuestion, InterruptedQuestion,
                         testing::Combine(testing::Values(FREE_SPACE_CLAMP), testing::Values(CTRL_C)),
                         interruption_name);

// The check of the fill character reads a single key: Ctrl+C and Ctrl+D are
// keys other than Y, so the value is asked for again.
TEST(InterruptKeyAtTheCharacterCheck, AsksForTheValueAgain)
{
    for (const char key : {key::ctrl_c, key::ctrl_d}) {
        SCOPED_TRACE(testing::Message() << "key " << static_cast<int>(key));
        TemporaryDirectory directory;
        TerminalSession session(launch_for(directory, CHARACTER_CHECK));
        ASSERT_TRUE(reach(session, CHARACTER_CHECK));
        std::size_t before = session.error_output().size();

        session.press(key);
        ASSERT_TRUE(session.wait_until_reading());
        EXPECT_EQ(session.error_output().substr(before), CHARACTER_AGAIN);

        before = session.error_output().size();
        session.type_line("66");
        ASSERT_TRUE(session.wait_until_reading());
        EXPECT_EQ(session.error_output().substr(before),
                  "\n\nYou entered decimal 66 which is character B.\nIs this correct [Y/N]?  ");

        session.send_signal(SIGINT);
        EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
        EXPECT_TRUE(entries_of(directory.path()).empty());
        EXPECT_EQ(session.mode_after(), session.mode_before());
    }
}

} // namespace
