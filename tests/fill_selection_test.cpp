// The fill menu and its questions through the real binary: the pages, the
// keys each question takes or refuses, and how each ends when no answer
// can come.
#include <gtest/gtest.h>

#include <cctype>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/expected_file.h"
#include "tests/support/fill_dialogue.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

namespace {

const std::string MENU_PROMPT = "[1,2 or 3]?   ";
const std::string NEW_PERIOD_QUESTION = "\n\nInput the new value. ";
const std::string CHARACTER_PAGE = "\n\n\n\n\nYou have chosen not to use the default of hex 00 to fill the file\n\n"
                                   "You can now enter the decimal value of the fill character\n"
                                   "enter a number from 0-255 and hit return key: ";
const std::string CHARACTER_AGAIN = "\n\nEnter the decimal value of the fill character\n"
                                    "enter a number from 0-255 and hit return key: ";
const std::string SUMMARY_HEAD = "\n\nYou have chosen the following:\n\n";
const std::string NO_MORE_INPUT = "\nNo more input: run abandoned.\n";


std::string checkpoint_question(int fill_value)
{
    return "\n\n\nSince you have chosen to fill the file with decimal " + std::to_string(fill_value) +
           "\nYou may now choose to eliminate the checkpoints that occur\n"
           "every 1,000,000 bytes making the file a pure file.\n"
           "Do you wish to eliminate the checkpoints?  [Y/N] ";
}

std::string period_page(std::uint32_t period)
{
    const std::string shown = std::to_string(period);
    return "\n\nYou have chosen to fill with the letters of the alphabet.\n"
           "Currently, every " + shown + " characters the fill character will change.\n"
           "If you wish, the change period of " + shown + " can be modified.\n\n"
           "Do you wish to change it? Y/N ";
}

std::string character_check(const std::string& decimal, const std::string& character)
{
    return "\n\nYou entered decimal " + decimal + " which is character " + character +
           ".\nIs this correct [Y/N]?  ";
}

std::string period_line(const char* shown)
{
    return std::string("Period every   =         ") + shown + " bytes\n";
}

// Ends a run that reached the summary without writing anything.
void decline_at_summary(TerminalSession& session)
{
    ASSERT_TRUE(answer(session, {"N"}));
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
}

struct MenuPeriodCase {
    std::uint64_t size;
    std::uint32_t period;
    friend void PrintTo(const MenuPeriodCase& c, std::ostream* stream) { *stream << c.size << " bytes"; }
};

class FillMenuPage : public testing::TestWithParam<MenuPeriodCase> {};

TEST_P(FillMenuPage, ShowsTheSizeAndThePeriodTheSizeStageChose)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));

    std::string page = reply_to(session, std::to_string(GetParam().size) + "\r");
    if (GetParam().size % 65536 != 0)
        page = reply_to(session, "Y"); // keeps the size at the 64 KiB offer

    EXPECT_EQ(page, fill_menu_page(directory.file("out.dat"), GetParam().size, GetParam().period));
    session.send_signal(SIGINT);
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
}

INSTANTIATE_TEST_SUITE_P(FillSelection, FillMenuPage,
                         testing::Values(MenuPeriodCase{5000, 10}, MenuPeriodCase{65536, 100},
                                         MenuPeriodCase{1000000, 10000}),
                         [](const testing::TestParamInfo<MenuPeriodCase>& info) {
                             return "Size" + std::to_string(info.param.size);
                         });

// A refused key is echoed, then beeps; the menu waits for the next one.
// Ctrl+C and Ctrl+D are keys like any other here.
TEST(FillMenu, RefusesEveryKeyButOneTwoOrThree)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, 5000));

    const struct {
        const char* name;
        std::string keys;
        std::string reply;
    } refused[] = {
        {"4", "4", "4\b\a"},
        {"0", "0", "0\b\a"},
        {"a, not folded", "a", "a\b\a"},
        {"Enter", "\r", "\r\b\a"},
        {"Ctrl+C", "\x03", "\x03\b\a"},
        {"Ctrl+D", "\x04", "\x04\b\a"},
        // A special key gives two codes, each refused in turn.
        {"up arrow", "\x1b[A", "\xe0\b\aH\b\a"},
    };
    for (const auto& key : refused)
        ASSERT_EQ(reply_to(session, key.keys), key.reply) << key.name;

    ASSERT_EQ(reply_to(session, "1"), "1\b" + checkpoint_question(0));
    EXPECT_EQ(std::filesystem::file_size(directory.file("out.dat")), 0u);
    ASSERT_TRUE(answer(session, {"N"}));
    decline_at_summary(session);
}

struct CheckpointCase {
    const char* name;
    std::vector<std::string> ignored; // keys the question reads again after
    std::string answer;
    bool checkpoints;
    friend void PrintTo(const CheckpointCase& c, std::ostream* stream) { *stream << c.name; }
};

class CheckpointQuestion : public testing::TestWithParam<CheckpointCase> {};

TEST_P(CheckpointQuestion, FoldsYAndNAndReadsOtherKeysAgainSilently)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, 5000));
    ASSERT_TRUE(answer(session, {"1"}));

    for (const std::string& key : GetParam().ignored) {
        const std::string echo{static_cast<char>(std::toupper(static_cast<unsigned char>(key[0]))), '\b'};
        ASSERT_EQ(reply_to(session, key), echo) << testing::PrintToString(key);
    }
    const std::string reply = reply_to(session, GetParam().answer);
    const char folded = static_cast<char>(std::toupper(static_cast<unsigned char>(GetParam().answer[0])));
    EXPECT_TRUE(reply.starts_with(std::string{folded, '\b'} + SUMMARY_HEAD)) << reply;

    ASSERT_TRUE(answer(session, {"Y"}));
    ASSERT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    EXPECT_TRUE(same_bytes(contents_of(directory.file("out.dat")),
                           expected_file(5000, {FillKind::zero, 0, 0, GetParam().checkpoints})));
}

INSTANTIATE_TEST_SUITE_P(
    FillSelection, CheckpointQuestion,
    testing::Values(CheckpointCase{"LowerYRemovesThem", {"x", "\x03"}, "y", false},
                    CheckpointCase{"LowerNKeepsThem", {"\r", "\x04", "1"}, "n", true}),
    [](const testing::TestParamInfo<CheckpointCase>& info) { return std::string(info.param.name); });

struct KeepPeriodCase {
    const char* name;
    const char* key;
    friend void PrintTo(const KeepPeriodCase& c, std::ostream* stream) { *stream << c.name; }
};

class PeriodKept : public testing::TestWithParam<KeepPeriodCase> {};

// The alphabet goes from the period question straight to the summary: it
// always keeps its checkpoints.
TEST_P(PeriodKept, AnythingButYKeepsThePeriodAndSkipsTheCheckpointQuestion)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, 5000));

    ASSERT_EQ(reply_to(session, "2"), "2\b" + period_page(10));
    const std::string summary = reply_to(session, GetParam().key);
    EXPECT_TRUE(summary.starts_with(SUMMARY_HEAD)) << summary;
    EXPECT_NE(summary.find(period_line("     10")), std::string::npos) << summary;
    decline_at_summary(session);
}

INSTANTIATE_TEST_SUITE_P(FillSelection, PeriodKept,
                         testing::Values(KeepPeriodCase{"N", "N"}, KeepPeriodCase{"LowerN", "n"},
                                         KeepPeriodCase{"X", "x"}, KeepPeriodCase{"Enter", "\r"},
                                         KeepPeriodCase{"CtrlC", "\x03"}),
                         [](const testing::TestParamInfo<KeepPeriodCase>& info) {
                             return std::string(info.param.name);
                         });

// What is not a number is dropped with the rest of its line, so the
// question waits for a fresh one instead of failing on it again.
TEST(PeriodChange, AsksAgainUntilANonZeroNumberComes)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, 5000));
    ASSERT_TRUE(answer(session, {"2"}));

    ASSERT_EQ(reply_to(session, "y"), NEW_PERIOD_QUESTION);
    ASSERT_EQ(reply_to(session, "0\r"), NEW_PERIOD_QUESTION);
    ASSERT_EQ(reply_to(session, "abc 5\r"), NEW_PERIOD_QUESTION);
    const std::string summary = reply_to(session, "3\r");
    EXPECT_TRUE(summary.starts_with(SUMMARY_HEAD)) << summary;
    EXPECT_NE(summary.find(period_line("      3")), std::string::npos) << summary;
    decline_at_summary(session);
}

struct CharacterCase {
    const char* name;
    std::string typed;
    std::string decimal;   // as the check shows it
    std::string character; // as the check shows it
    unsigned char byte;    // what the file is filled with
    friend void PrintTo(const CharacterCase& c, std::ostream* stream) { *stream << c.typed; }
};

class CharacterEntry : public testing::TestWithParam<CharacterCase> {};

TEST_P(CharacterEntry, IsShownForCheckingAndItsLowByteFillsTheFile)
{
    const CharacterCase& c = GetParam();
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, 65536));

    ASSERT_EQ(reply_to(session, "3"), "3\b" + CHARACTER_PAGE);
    ASSERT_EQ(reply_to(session, c.typed + "\r"), character_check(c.decimal, c.character));
    ASSERT_EQ(reply_to(session, "Y"), checkpoint_question(c.byte));
    ASSERT_TRUE(answer(session, {"Y", "Y"}));

    ASSERT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    EXPECT_TRUE(same_bytes(contents_of(directory.file("out.dat")), std::string(65536, static_cast<char>(c.byte))));
}

INSTANTIATE_TEST_SUITE_P(
    FillSelection, CharacterEntry,
    testing::Values(CharacterCase{"Letter", "65", "65", "A", 65},
                    CharacterCase{"AboveTheByteRange", "300", "300", ",", 44},
                    CharacterCase{"Negative", "-1", "-1", "\xff", 255},
                    CharacterCase{"Zero", "0", "0", std::string(1, '\0'), 0},
                    CharacterCase{"NotANumber", "abc", "0", std::string(1, '\0'), 0},
                    CharacterCase{"DigitsThenLetters", "7x", "7", "\a", 7},
                    CharacterCase{"SecondWordDropped", "12 34", "12", "\f", 12},
                    CharacterCase{"LongNegativeSaturates", "-" + std::string(99, '9'), "-2147483648",
                                  std::string(1, '\0'), 0},
                    // Only the first 19 characters of a word are kept: the 6
                    // of "65" is the last of them.
                    CharacterCase{"LongWordIsCut", std::string(18, '0') + "65", "6", "\x06", 6}),
    [](const testing::TestParamInfo<CharacterCase>& info) { return std::string(info.param.name); });

TEST(CharacterValue, DeclinedValuesAreAskedAgainAndForgotten)
{
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer_size(session, 65536));
    ASSERT_TRUE(answer(session, {"3"}));

    // A word far longer than the buffer: the value saturates, and the rest
    // of the line must not answer the next question.
    ASSERT_EQ(reply_to(session, std::string(100, '9') + "\r"), character_check("2147483647", "\xff"));
    ASSERT_EQ(reply_to(session, "N"), CHARACTER_AGAIN);
    ASSERT_EQ(reply_to(session, "66\r"), character_check("66", "B"));
    ASSERT_EQ(reply_to(session, "n"), CHARACTER_AGAIN);
    ASSERT_EQ(reply_to(session, "67\r"), character_check("67", "C"));
    ASSERT_EQ(reply_to(session, "y"), checkpoint_question(67));
    ASSERT_TRUE(answer(session, {"Y", "Y"}));

    ASSERT_EQ(session.wait_for_exit(), ExitStatus::exited(0));
    EXPECT_TRUE(same_bytes(contents_of(directory.file("out.dat")), std::string(65536, 'C')));
}

struct TypedQuestionCase {
    const char* name;
    std::vector<std::string> answers; // from the start up to the question
    std::string prompt;
    friend void PrintTo(const TypedQuestionCase& c, std::ostream* stream) { *stream << c.name; }
};

struct EndingCase {
    const char* name;
    char key;
    std::string last_words; // what the program writes after the prompt
    friend void PrintTo(const EndingCase& c, std::ostream* stream) { *stream << c.name; }
};

class TypedAnswerEnd : public testing::TestWithParam<std::tuple<TypedQuestionCase, EndingCase>> {};

// Ctrl+D ends the input for good; Ctrl+C interrupts. Either way the run is
// over, and the file, still empty, goes.
TEST_P(TypedAnswerEnd, AbandonsTheRunAndDeletesTheEmptyFile)
{
    const auto& [question, ending] = GetParam();
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, {"out.dat"}));
    ASSERT_TRUE(answer(session, question.answers));
    ASSERT_TRUE(session.wait_until_reading());
    ASSERT_TRUE(session.error_output().ends_with(question.prompt)) << session.error_output();

    session.press(ending.key);

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_TRUE(session.error_output().ends_with(question.prompt + ending.last_words)) << session.error_output();
    EXPECT_TRUE(entries_of(directory.path()).empty());
    ASSERT_TRUE(session.mode_before());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

INSTANTIATE_TEST_SUITE_P(
    FillSelection, TypedAnswerEnd,
    testing::Combine(
        testing::Values(TypedQuestionCase{"Period", {"5000\r", "Y", "2", "Y"}, NEW_PERIOD_QUESTION},
                        TypedQuestionCase{"PeriodAfterANonNumber",
                                          {"5000\r", "Y", "2", "Y", "abc\r"},
                                          NEW_PERIOD_QUESTION + NEW_PERIOD_QUESTION},
                        TypedQuestionCase{"CharacterValue", {"5000\r", "Y", "3"}, CHARACTER_PAGE},
                        TypedQuestionCase{"CharacterValueAgain", {"5000\r", "Y", "3", "66\r", "N"}, CHARACTER_AGAIN}),
        testing::Values(EndingCase{"CtrlD", key::ctrl_d, NO_MORE_INPUT}, EndingCase{"CtrlC", key::ctrl_c, ""})),
    [](const testing::TestParamInfo<TypedAnswerEnd::ParamType>& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

struct EndOfInputCase {
    const char* name;
    Console console;
    std::optional<std::string> input;
    std::vector<std::string> keys; // pressed at the terminal
    std::string prompt;
    friend void PrintTo(const EndOfInputCase& c, std::ostream* stream) { *stream << c.name; }
};

class AnswerThatCannotCome : public testing::TestWithParam<EndOfInputCase> {};

TEST_P(AnswerThatCannotCome, AbandonsTheRunAndLeavesNoFile)
{
    TemporaryDirectory directory;
    Launch launch = launch_in(directory, {"out.dat"});
    launch.console = GetParam().console;
    launch.input = GetParam().input;
    TerminalSession session(launch);
    ASSERT_TRUE(answer(session, GetParam().keys));

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_TRUE(session.error_output().ends_with(GetParam().prompt + NO_MORE_INPUT)) << session.error_output();
    EXPECT_TRUE(entries_of(directory.path()).empty());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

INSTANTIATE_TEST_SUITE_P(
    FillSelection, AnswerThatCannotCome,
    testing::Values(
        // Without a console no menu key can ever come.
        EndOfInputCase{"MenuKeyWithoutConsole", Console::none, "70000\n", {}, MENU_PROMPT},
        EndOfInputCase{"MenuKeyWithoutConsoleOrInput", Console::none, std::nullopt, {}, MENU_PROMPT},
        // Keys come from the console, lines from a pipe that has ended.
        EndOfInputCase{"PeriodFromAnEndedPipe", Console::terminal, "5000\n", {"Y", "2", "Y"}, NEW_PERIOD_QUESTION},
        EndOfInputCase{"CharacterValueFromAnEndedPipe", Console::terminal, "5000\n", {"Y", "3"}, CHARACTER_PAGE}),
    [](const testing::TestParamInfo<EndOfInputCase>& info) { return std::string(info.param.name); });

} // namespace
