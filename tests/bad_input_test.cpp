// Unexpected typed answers at every question that reads a line, through the
// real binary: empty and blank lines, words far longer than their buffers,
// NUL and non-ASCII bytes, numbers beyond their range and numbers followed
// by letters. Each gets the answer the readers give it (a word keeps what
// fits, a number saturates, what is no number is asked for again or counts
// as 0); none may overrun a buffer, which the sanitizer build checks.
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

namespace {

using namespace std::string_literals;

const std::string NEW_PERIOD_QUESTION = "\n\nInput the new value. ";
// The longest line a terminal takes in its line mode is 4095 characters.
const std::string LONG_WORD(4000, 'x');
const std::string LONG_NUMBER(4000, '9');
const std::string BEYOND_ANY_RANGE = "99999999999999999999";

struct Question {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> answers; // typed, each once the program waits, to reach the question
};

const Question NAME{"Name", {}, {}};
const Question SIZE{"Size", {"out.dat"}, {}};
const Question NEW_PERIOD{"NewPeriod", {"out.dat"}, {"5000\r", "Y", "2", "Y"}};
const Question CHARACTER_VALUE{"CharacterValue", {"out.dat"}, {"5000\r", "Y", "3"}};

enum class Match { whole, part };

struct BadInputCase {
    const char* name;
    Question question;
    std::string typed;
    std::string reply; // the dialogue's answer, up to its next read
    Match match;
    friend void PrintTo(const BadInputCase& c, std::ostream* stream)
    {
        *stream << c.question.name << ": " << testing::PrintToString(c.typed.substr(0, 40));
    }
};

// What the summary shows for a letter period, right-aligned in seven.
std::string period_line(const std::string& shown)
{
    return "Period every   =         " + std::string(shown.size() < 7 ? 7 - shown.size() : 0, ' ') + shown +
           " bytes\n";
}

std::string character_check(const std::string& decimal, const std::string& character)
{
    return "\n\nYou entered decimal " + decimal + " which is character " + character + ".\nIs this correct [Y/N]?  ";
}

std::string kept_at_the_offer(const std::string& size)
{
    return "want to keep " + size + " Enter a 'Y' or return";
}

const std::string MENU_OF_ZERO_BYTES = " of 0 bytes, \n\n";

class BadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(BadInput, GetsTheReadersAnswer)
{
    const BadInputCase& c = GetParam();
    TemporaryDirectory directory;
    TerminalSession session(launch_in(directory, c.question.arguments));
    for (const std::string& keys : c.question.answers) {
        ASSERT_TRUE(session.wait_until_reading());
        session.type(keys);
    }
    ASSERT_TRUE(session.wait_until_reading());
    const std::size_t before = session.error_output().size();

    session.type(c.typed);
    ASSERT_TRUE(session.wait_until_reading());

    const std::string reply = session.error_output().substr(before);
    if (c.match == Match::whole)
        EXPECT_EQ(reply, c.reply);
    else
        EXPECT_NE(reply.find(c.reply), std::string::npos) << testing::PrintToString(reply);
    session.send_signal(SIGINT);
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_TRUE(entries_of(directory.path()).empty());
}

std::string case_name(const testing::TestParamInfo<BadInputCase>& info)
{
    return std::string(info.param.question.name) + "_" + info.param.name;
}

// Line and word questions skip white space, so these wait for more.
INSTANTIATE_TEST_SUITE_P(
    BlankLines, BadInput,
    testing::Values(BadInputCase{"EmptyLines", NAME, "\r\r\r", "", Match::whole},
                    BadInputCase{"OnlyBlanks", NAME, " \t  \r", "", Match::whole},
                    BadInputCase{"EmptyLines", SIZE, "\r\r\r", "", Match::whole},
                    BadInputCase{"OnlyBlanks", SIZE, " \t  \r", "", Match::whole},
                    BadInputCase{"EmptyLines", NEW_PERIOD, "\r\r\r", "", Match::whole},
                    BadInputCase{"OnlyBlanks", NEW_PERIOD, " \t  \r", "", Match::whole},
                    BadInputCase{"EmptyLines", CHARACTER_VALUE, "\r\r\r", "", Match::whole},
                    BadInputCase{"OnlyBlanks", CHARACTER_VALUE, " \t  \r", "", Match::whole}),
    case_name);

// A NUL byte is part of a word but ends the name made of it; bytes above
// 127 are name bytes like any other.
INSTANTIATE_TEST_SUITE_P(
    Name, BadInput,
    testing::Values(BadInputCase{"NulInsideTheWord", NAME, "a\0b\r"s, "/a to be?\n", Match::part},
                    BadInputCase{"NonAscii", NAME, "\xc3\xa9t\xc3\xa9.dat\r", "/\xc3\xa9t\xc3\xa9.dat to be?\n",
                                 Match::part}),
    case_name);

// A size that is no number counts as 0; one beyond the signed 64-bit range
// saturates at its bound, and the bound's bits are the unsigned size.
INSTANTIATE_TEST_SUITE_P(
    Size, BadInput,
    testing::Values(BadInputCase{"LongNumber", SIZE, LONG_NUMBER + "\r",
                                 kept_at_the_offer("9,223,372,036,854,775,807"), Match::part},
                    BadInputCase{"NegativeBeyondTheRange", SIZE, "-" + BEYOND_ANY_RANGE + "\r",
                                 "You entered s size of                  9,223,372,036,854,775,808\n", Match::part},
                    BadInputCase{"DigitsThenLetters", SIZE, "12abc\r", kept_at_the_offer("12"), Match::part},
                    BadInputCase{"NulByte", SIZE, "\0"s "5000\r", MENU_OF_ZERO_BYTES, Match::part},
                    BadInputCase{"NonAscii", SIZE, "\xef\xbc\x95\r", MENU_OF_ZERO_BYTES, Match::part}),
    case_name);

// The period saturates at the signed 32-bit bounds; what is no number is
// dropped with its line and the question comes again.
INSTANTIATE_TEST_SUITE_P(
    NewPeriod, BadInput,
    testing::Values(
        BadInputCase{"LongWord", NEW_PERIOD, LONG_WORD + "\r", NEW_PERIOD_QUESTION, Match::whole},
        BadInputCase{"LongNumber", NEW_PERIOD, LONG_NUMBER + "\r", period_line("2147483647"), Match::part},
        BadInputCase{"BeyondTheRange", NEW_PERIOD, BEYOND_ANY_RANGE + "\r", period_line("2147483647"), Match::part},
        BadInputCase{"NegativeBeyondTheRange", NEW_PERIOD, "-" + BEYOND_ANY_RANGE + "\r",
                     period_line("-2147483648"), Match::part},
        BadInputCase{"DigitsThenLetters", NEW_PERIOD, "12abc\r", period_line("12"), Match::part},
        BadInputCase{"NulByte", NEW_PERIOD, "\0\r"s, NEW_PERIOD_QUESTION, Match::whole},
        BadInputCase{"NonAscii", NEW_PERIOD, "\xc3\xa9\r", NEW_PERIOD_QUESTION, Match::whole}),
    case_name);

// The value is the word's leading number, 0 when it has none, held at the
// signed 32-bit bounds; only the first 19 bytes of a word are kept.
INSTANTIATE_TEST_SUITE_P(
    CharacterValue, BadInput,
    testing::Values(
        BadInputCase{"LongWord", CHARACTER_VALUE, LONG_WORD + "\r", character_check("0", "\0"s), Match::whole},
        BadInputCase{"LongNumber", CHARACTER_VALUE, LONG_NUMBER + "\r", character_check("2147483647", "\xff"),
                     Match::whole},
        BadInputCase{"NulByte", CHARACTER_VALUE, "\0"s "65\r", character_check("0", "\0"s), Match::whole},
        BadInputCase{"NonAscii", CHARACTER_VALUE, "\xc3\xa9\r", character_check("0", "\0"s), Match::whole}),
    case_name);

// Lines longer than a terminal takes come from a pipe.
TEST(BadInputFromAPipe, AHundredThousandByteNameKeepsItsFirst1039BytesAndCannotBeCreated)
{
    TemporaryDirectory directory;
    Launch launch = launch_in(directory, {});
    launch.input = std::string(100000, 'n') + "\n";
    TerminalSession session(launch);

    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(1));
    EXPECT_TRUE(session.output().ends_with("\nFile creation/Open " + directory.file(std::string(1039, 'n')) +
                                           " failed\n"))
        << session.output();
    EXPECT_TRUE(entries_of(directory.path()).empty());
}

TEST(BadInputFromAPipe, AHundredThousandDigitSizeSaturates)
{
    TemporaryDirectory directory;
    Launch launch = launch_in(directory, {"out.dat"});
    launch.input = std::string(100000, '9') + "\n";
    TerminalSession session(launch);
    ASSERT_TRUE(session.wait_until_reading());

    EXPECT_NE(session.error_output().find(kept_at_the_offer("9,223,372,036,854,775,807")), std::string::npos)
        << session.error_output();
    session.send_signal(SIGINT);
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_TRUE(entries_of(directory.path()).empty());
}

} // namespace
