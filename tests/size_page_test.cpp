// The size page through the real binary: the 64 KiB offer, the 4 GiB limit
// without the large-file family, the free-space clamp, and the section and
// letter period that follow from the size, as the fill menu shows them.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/fill_dialogue.h"
#include "tests/support/scratch_volume.h"
#include "tests/support/run_helpers.h"
#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"
#include "tests/support/zero_fill_run.h"

namespace {

// `up` and `down` as the page shows them, right-aligned in ten characters.
std::string alignment_offer(const std::string& kept, const std::string& up, const std::string& down)
{
    return "\n\nYour file will possibly leave some slack \n"
           "If you don't mind that, and want to keep " +
           kept +
           " Enter a 'Y' or return\n\n"
           "If you want, I can resize the file to the nearest 64K\n"
           "'U'p   to " +
           up +
           "   or \n"
           "'D'own to " +
           down +
           "   \n"
           "Either of which which should not produce any slack. \n"
           "Enter a Y, U, or D\n"
           "'Y' or return to keep current filesize\n"
           "'U' to resize up to next 64K size\n"
           "'D' to resize down to nex lower 64k size: ";
}

std::string limit_page(const std::string& requested)
{
    return "Your filesize of                         " + requested +
           "\n"
           "Only NTFS allows file sizes greater than 4,294,967,295\n\n"
           "Resizing the output to a safe size of    4,294,901,760\n"
           "\nYou can run the program multiple times to fill the required size\n"
           "If this is OK, enter Y, else anything else to quit";
}

std::string clamp_page(const std::string& requested, const std::string& free_space)
{
    return "\n\nYou entered s size of                  " + requested +
           "\n"
           "which is more than the available space " +
           free_space +
           "\n"
           "I am resetting output file size to     " +
           free_space +
           "\n"
           "\n\n\t\t\tHit return to continue: ";
}


// One page after the size question, and the keys that answer it.
struct Page {
    std::string text;
    std::string answer;
};

Page answered(const Page& page, const std::string& answer)
{
    return Page{page.text, answer};
}

// Where a run stands after the size page: at the fill menu with this size
// and letter period, or ended because the user declined.
struct Outcome {
    std::uint64_t size = 0;
    std::uint32_t period = 0;
};
const std::optional<Outcome> DECLINED;

struct SizeCase {
    const char* name;
    std::optional<std::string> os;
    std::string typed;
    std::vector<Page> pages;
    std::optional<Outcome> outcome;
    friend void PrintTo(const SizeCase& c, std::ostream* stream) { *stream << '"' << c.typed << '"'; }
};

Launch launch_with_os(const std::string& directory, const std::optional<std::string>& os)
{
    Launch launch;
    launch.arguments = {"out.dat"};
    launch.directory = directory;
    if (os)
        launch.environment["OS"] = *os;
    return launch;
}

// Answers each page once it stands whole on the dialogue stream.
void answer_pages(TerminalSession& session, const std::vector<Page>& pages, std::string& dialogue)
{
    for (const Page& page : pages) {
        ASSERT_TRUE(session.wait_until_reading());
        dialogue += page.text;
        ASSERT_EQ(session.error_output(), dialogue);
        session.type(page.answer);
    }
}

// The end of a run that reached the fill menu: the interrupt deletes the
// still empty file, and the terminal is as it was.
void expect_fill_menu_then_interrupt(TerminalSession& session, std::string dialogue, const std::string& path,
                                     const Outcome& outcome)
{
    dialogue += fill_menu_page(path, outcome.size, outcome.period);
    // With stdin a pipe, a wait for input may still be the one for the size.
    session.wait_until([&] { return session.error_output().size() >= dialogue.size(); }, "the fill menu");
    ASSERT_TRUE(session.wait_until_reading());
    EXPECT_EQ(session.error_output(), dialogue);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    session.send_signal(SIGINT);
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

class SizePage : public testing::TestWithParam<SizeCase> {};

TEST_P(SizePage, SettlesTheSizeAndPeriodShownByTheFillMenu)
{
    const SizeCase& c = GetParam();
    TemporaryDirectory directory;
    // The free-space clamp is tested on a volume of its own; here it must
    // stay out of the way.
    if (c.outcome && c.outcome->size + (std::uint64_t{1} << 28) > free_bytes_at(directory.path()))
        GTEST_SKIP() << "the temporary directory's volume cannot hold " << c.outcome->size << " bytes";
    const std::string path = directory.file("out.dat");
    TerminalSession session(launch_with_os(directory.path().string(), c.os));

    ASSERT_TRUE(session.wait_until_reading());
    std::string dialogue = size_question(path);
    ASSERT_EQ(session.error_output(), dialogue);
    session.type_line(c.typed);
    answer_pages(session, c.pages, dialogue);
    if (HasFatalFailure())
        return;

    if (c.outcome) {
        expect_fill_menu_then_interrupt(session, dialogue, path, *c.outcome);
        return;
    }
    EXPECT_EQ(session.wait_for_exit(), ExitStatus::exited(2));
    EXPECT_EQ(session.error_output(), dialogue);
    EXPECT_TRUE(entries_of(directory.path()).empty());
    EXPECT_EQ(session.mode_after(), session.mode_before());
}

const std::string MILLION = "1000000";
const std::string KEY_3 = std::string(1, key::ctrl_c);
const std::string ENTER = std::string(1, key::enter);
const Page MILLION_OFFER_PAGE{alignment_offer("1,000,000", "   1048576", "    983040"), ""};

// Without OS the 4 GiB limit never applies here.
INSTANTIATE_TEST_SUITE_P(
    AlignmentOffer, SizePage,
    testing::Values(
        SizeCase{"MillionKept", {}, MILLION, {answered(MILLION_OFFER_PAGE, "Y")}, Outcome{1000000, 10000}},
        SizeCase{"MillionKeptByEnter", {}, MILLION, {answered(MILLION_OFFER_PAGE, ENTER)}, Outcome{1000000, 10000}},
        SizeCase{"MillionKeptByOtherKey", {}, MILLION, {answered(MILLION_OFFER_PAGE, "x")}, Outcome{1000000, 10000}},
        SizeCase{"MillionKeptByKey3", {}, MILLION, {answered(MILLION_OFFER_PAGE, KEY_3)}, Outcome{1000000, 10000}},
        SizeCase{"MillionUp", {}, MILLION, {answered(MILLION_OFFER_PAGE, "U")}, Outcome{1048576, 10000}},
        SizeCase{"MillionUpLowerCase", {}, MILLION, {answered(MILLION_OFFER_PAGE, "u")}, Outcome{1048576, 10000}},
        SizeCase{"MillionDown", {}, MILLION, {answered(MILLION_OFFER_PAGE, "D")}, Outcome{983040, 5000}},
        SizeCase{"DownBelowOneUnitIsZero",
                 {},
                 "1000",
                 {{alignment_offer("1,000", "     65536", "         0"), "D"}},
                 Outcome{0, 10}},
        SizeCase{"DigitGroupsReadAsOne",
                 {},
                 "1,000,000",
                 {{alignment_offer("1", "     65536", "         0"), "Y"}},
                 Outcome{1, 10}},
        SizeCase{"MinusOneUpWrapsToZero",
                 {},
                 "-1",
                 {{alignment_offer("18,446,744,073,709,551,615", "         0", "    -65536"), "U"}},
                 Outcome{0, 10}},
        SizeCase{"NotANumberIsZero", {}, "abc", {}, Outcome{0, 10}}),
    [](const testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

// The section is the size below 1,000,000 bytes, and the period follows it.
INSTANTIATE_TEST_SUITE_P(
    LetterPeriodLadder, SizePage,
    testing::Values(
        SizeCase{"Zero", {}, "0", {}, Outcome{0, 10}},
        SizeCase{"BelowTenThousand",
                 {},
                 "9999",
                 {{alignment_offer("9,999", "     65536", "         0"), "Y"}},
                 Outcome{9999, 10}},
        SizeCase{"TenThousandKeepsTheDefault",
                 {},
                 "10000",
                 {{alignment_offer("10,000", "     65536", "         0"), "Y"}},
                 Outcome{10000, 10000}},
        SizeCase{"OneUnit", {}, "65536", {}, Outcome{65536, 100}},
        SizeCase{"TwoHundredThousand",
                 {},
                 "200000",
                 {{alignment_offer("200,000", "    262144", "    196608"), "Y"}},
                 Outcome{200000, 1000}},
        SizeCase{"SixHundredThousand",
                 {},
                 "600000",
                 {{alignment_offer("600,000", "    655360", "    589824"), "Y"}},
                 Outcome{600000, 5000}}),
    [](const testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

const std::string FOUR_GIB = "4294967296";
const Page FOUR_GIB_LIMIT_PAGE{limit_page("4,294,967,296"), ""};

// Just above the safe size and below 4 GiB.
const std::string NEAR_FOUR_GIB = "4294967000";
const Page NEAR_FOUR_GIB_OFFER{alignment_offer("4,294,967,000", "4294967296", "4294901760"), ""};

INSTANTIATE_TEST_SUITE_P(
    FourGibLimit, SizePage,
    testing::Values(
        SizeCase{"Win95Accepted", "WIN95", FOUR_GIB, {answered(FOUR_GIB_LIMIT_PAGE, "Y")}, Outcome{4294901760, 10000}},
        SizeCase{"Win95DeclinedByN", "WIN95", FOUR_GIB, {answered(FOUR_GIB_LIMIT_PAGE, "N")}, DECLINED},
        SizeCase{"Win95DeclinedByEnter", "WIN95", FOUR_GIB, {answered(FOUR_GIB_LIMIT_PAGE, ENTER)}, DECLINED},
        SizeCase{"Win95DeclinedByKey3", "WIN95", FOUR_GIB, {answered(FOUR_GIB_LIMIT_PAGE, KEY_3)}, DECLINED},
        SizeCase{"EmptyOsDeclined", "", FOUR_GIB, {answered(FOUR_GIB_LIMIT_PAGE, "N")}, DECLINED},
        SizeCase{"Win95JustBelowKept", "WIN95", NEAR_FOUR_GIB, {answered(NEAR_FOUR_GIB_OFFER, "Y")}, Outcome{4294967000, 10000}},
        SizeCase{"Win95JustBelowUpMeetsTheLimit",
                 "WIN95",
                 NEAR_FOUR_GIB,
                 {answered(NEAR_FOUR_GIB_OFFER, "U"), answered(FOUR_GIB_LIMIT_PAGE, "Y")},
                 Outcome{4294901760, 10000}},
        SizeCase{"WindowsNtHasNoLimit", "Windows_NT", "5368709120", {}, Outcome{5368709120, 10000}},
        SizeCase{"AbsentOsHasNoLimit", {}, "5368709120", {}, Outcome{5368709120, 10000}}),
    [](const testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

// Requests beyond the free space, with the pages that come before the clamp.
struct ClampCase {
    const char* name;
    std::optional<std::string> os;
    std::string typed;
    std::vector<Page> pages;
    std::string requested; // as the clamp page shows it
    friend void PrintTo(const ClampCase& c, std::ostream* stream) { *stream << '"' << c.typed << '"'; }
};

class FreeSpaceClamp : public testing::TestWithParam<ClampCase> {};

// A volume of its own keeps the free space still while the run looks at it.
TEST_P(FreeSpaceClamp, ResetsTheSizeToTheFreeSpaceAfterEnter)
{
    const ClampCase& c = GetParam();
    TemporaryDirectory directory;
    ScratchVolume volume(directory.path(), 3 << 20);
    if (!volume.mounted())
        GTEST_SKIP() << "no volume of its own: mounting a tmpfs needs root";
    const std::string path = volume.file("out.dat");
    TerminalSession session(launch_with_os(volume.path().string(), c.os));

    ASSERT_TRUE(session.wait_until_reading());
    std::string dialogue = size_question(path);
    ASSERT_EQ(session.error_output(), dialogue);
    const std::uint64_t free_space = free_bytes_at(volume.path());
    session.type_line(c.typed);
    std::vector<Page> pages = c.pages;
    pages.push_back({clamp_page(c.requested, with_digit_groups(free_space)), ENTER});
    answer_pages(session, pages, dialogue);
    if (HasFatalFailure())
        return;

    expect_fill_menu_then_interrupt(session, dialogue, path, Outcome{free_space, 10000});
}

INSTANTIATE_TEST_SUITE_P(
    SizePage, FreeSpaceClamp,
    testing::Values(ClampCase{"KeptAtTheOffer",
                              {},
                              "5000000",
                              {{alignment_offer("5,000,000", "   5046272", "   4980736"), "Y"}},
                              "5,000,000"},
                    // Beyond the signed 64-bit range the entry saturates.
                    ClampCase{"BeyondAnyVolume",
                              {},
                              "18000000000000000000",
                              {{alignment_offer("9,223,372,036,854,775,807", "-9223372036854775808",
                                                "9223372036854710272"),
                                "Y"}},
                              "9,223,372,036,854,775,807"},
                    ClampCase{"MinusOneKept",
                              {},
                              "-1",
                              {{alignment_offer("18,446,744,073,709,551,615", "         0", "    -65536"), "Y"}},
                              "18,446,744,073,709,551,615"},
                    // The 4 GiB limit comes first; the clamp applies to what it leaves.
                    ClampCase{"AfterTheFourGibLimit",
                              "WIN95",
                              "5368709120",
                              {{limit_page("5,368,709,120"), "Y"}},
                              "4,294,901,760"}),
    [](const testing::TestParamInfo<ClampCase>& info) { return std::string(info.param.name); });

// Only a size greater than the free space is clamped.
TEST(FreeSpaceClampBoundary, TheFreeSpaceItselfIsKeptAndOneByteMoreIsClamped)
{
    for (const std::uint64_t excess : {0, 1}) {
        SCOPED_TRACE(testing::Message() << excess << " byte(s) beyond the free space");
        TemporaryDirectory directory;
        ScratchVolume volume(directory.path(), 3 << 20);
        if (!volume.mounted())
            GTEST_SKIP() << "no volume of its own: mounting a tmpfs needs root";
        const std::string path = volume.file("out.dat");
        TerminalSession session(launch_with_os(volume.path().string(), std::nullopt));

        ASSERT_TRUE(session.wait_until_reading());
        std::string dialogue = size_question(path);
        const std::uint64_t free_space = free_bytes_at(volume.path());
        ASSERT_EQ(free_space % 65536, 0u) << "a tmpfs counts whole pages";
        const std::uint64_t requested = free_space + excess;
        session.type_line(std::to_string(requested));
        std::vector<Page> pages;
        if (excess != 0) {
            const std::string up = right_aligned(std::to_string(free_space + 65536), 10);
            const std::string down = right_aligned(std::to_string(free_space), 10);
            pages.push_back({alignment_offer(with_digit_groups(requested), up, down), "Y"});
            pages.push_back({clamp_page(with_digit_groups(requested), with_digit_groups(free_space)), ENTER});
        }
        answer_pages(session, pages, dialogue);
        if (HasFatalFailure())
            return;

        expect_fill_menu_then_interrupt(session, dialogue, path, Outcome{free_space, 10000});
    }
}

// End of input at the size question, with the console still there: the size
// stays 0 and the run goes on to the fill menu.
TEST(SizePageEndOfInput, CountsAsZero)
{
    TemporaryDirectory directory;
    Launch launch = launch_in(directory, {"out.dat"});
    launch.input = "";
    TerminalSession session(launch);
    const std::string path = directory.file("out.dat");

    expect_fill_menu_then_interrupt(session, size_question(path), path, Outcome{0, 10});
}

} // namespace
