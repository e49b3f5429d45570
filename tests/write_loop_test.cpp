#include "generate/write_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <ostream>
#include <regex>
#include <string>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>

#include "dialogue/size_negotiation.h"
#include "platform/platform.h"
#include "run/run_state.h"

namespace {

constexpr char FILL_BYTE = '*';

char cycle_letter(std::uint64_t index)
{
    index %= 52;
    return static_cast<char>(index < 26 ? 'A' + index : 'a' + (index - 26));
}

std::string checkpoint_record(std::uint64_t section, std::uint32_t section_size)
{
    const std::string number = std::to_string(section);
    return std::string(10 - number.size(), ' ') + number + " X " + std::to_string(section_size) + "  " + '\0';
}

// The file as a reader sees it. The letters follow the file offset, which
// holds for one section, or for sections that are a multiple of the period.
std::string expected_file(std::uint64_t file_size, std::uint32_t section_size, std::int32_t fill_mode,
                          bool checkpoints, std::uint32_t period)
{
    std::string bytes(file_size, '\0');
    for (std::uint64_t offset = 0; offset < file_size; ++offset) {
        if (fill_mode == FILL_CHAR)
            bytes[offset] = FILL_BYTE;
        else if (fill_mode == FILL_ALPHABET)
            bytes[offset] = cycle_letter(offset / period);
    }
    if (checkpoints) {
        for (std::uint64_t section = 0; section * section_size < file_size; ++section) {
            const std::uint64_t start = section * section_size;
            const std::string record = checkpoint_record(section, section_size);
            const std::uint64_t visible = std::min<std::uint64_t>(record.size(), file_size - start);
            bytes.replace(start, visible, record, 0, visible);
        }
    }
    return bytes;
}

const char* const BANNER_HEAD = "\nProgram started ";
constexpr std::size_t TIME_TEXT_LENGTH = 24;

// Splits the report into the time text of the banner and what follows it.
::testing::AssertionResult split_report(const std::string& report, std::string& time_text, std::string& rest)
{
    const std::string head = BANNER_HEAD;
    if (report.compare(0, head.size(), head) != 0)
        return ::testing::AssertionFailure() << "no banner in \"" << report << "\"";
    time_text = report.substr(head.size(), TIME_TEXT_LENGTH);
    if (report.compare(head.size() + TIME_TEXT_LENGTH, 2, "\n\n") != 0)
        return ::testing::AssertionFailure() << "banner not ended by two line ends: \"" << report << "\"";
    rest = report.substr(head.size() + TIME_TEXT_LENGTH + 2);
    return ::testing::AssertionSuccess();
}

bool looks_like_time_text(const std::string& text)
{
    static const std::regex shape("(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                                  "(0[1-9]|[12][0-9]|3[01]) ([01][0-9]|2[0-3]):[0-5][0-9]:[0-6][0-9] [0-9]{4}");
    return std::regex_match(text, shape);
}

std::string local_time_text(std::time_t moment)
{
    static const char* const weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm local{};
    localtime_r(&moment, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %04d", weekdays[local.tm_wday],
                  months[local.tm_mon], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  local.tm_year + 1900);
    return text;
}

class WriteLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char directory[] = "/tmp/filegen_write_loop_XXXXXX";
        ASSERT_NE(mkdtemp(directory), nullptr);
        directory_ = directory;
        path_ = directory_ + "/out.dat";
    }

    void TearDown() override
    {
        // Whatever a failed test left behind, so the next one starts afresh.
        const FileHandle left_open = take_output_handle();
        if (left_open != INVALID_HANDLE_VALUE)
            platform::close_file(left_open);
        if (run_state.section_buffer != nullptr)
            platform::release_pages(run_state.section_buffer, run_state.section_buffer_length);
        run_state.section_buffer = nullptr;
        run_state.fill_char = nullptr;
        run_state.output_path = nullptr;
        run_state.letter_period = DEFAULT_LETTER_PERIOD;
        run_state.current_letter = 'A';
        std::remove(path_.c_str());
        rmdir(directory_.c_str());
    }

    void prepare(std::uint64_t file_size, std::int32_t fill_mode, bool checkpoints, std::uint32_t period)
    {
        run_state.output_path = path_.data();
        file_ = platform::create_file(path_.c_str());
        ASSERT_NE(file_, INVALID_HANDLE_VALUE);
        run_state.output_handle = file_;
        run_state.file_size = file_size;
        run_state.section_size = static_cast<std::uint32_t>(std::min<std::uint64_t>(file_size, 1000000));
        run_state.fill_mode = fill_mode;
        run_state.checkpoints_enabled = checkpoints ? 1 : 0;
        run_state.letter_period = period;
        run_state.current_letter = 'A';
        fill_char_[0] = FILL_BYTE;
        run_state.fill_char = fill_char_;
        allocate_section_buffer(run_state.section_size);
    }

    // Runs the loop; returns what it printed on stdout.
    std::string write_capturing_report()
    {
        ::testing::internal::CaptureStdout();
        write_file();
        file_closed_ = fcntl(static_cast<int>(file_), F_GETFD) == -1 && errno == EBADF;
        return ::testing::internal::GetCapturedStdout();
    }

    void expect_released() const
    {
        EXPECT_TRUE(file_closed_);
        EXPECT_EQ(run_state.output_handle.load(), INVALID_HANDLE_VALUE);
        EXPECT_EQ(run_state.section_buffer, nullptr);
    }

    std::string file_contents() const
    {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string directory_;
    std::string path_;
    FileHandle file_ = INVALID_HANDLE_VALUE;
    bool file_closed_ = false;
    char fill_char_[20] = "";
};

struct SizeCase {
    std::uint64_t file_size;
    std::uint32_t period; // as size negotiation leaves it
    const char* progress;
};

void PrintTo(const SizeCase& size, std::ostream* out)
{
    *out << size.file_size << " bytes";
}

const SizeCase size_cases[] = {
    {0, 10, ""},
    {1, 10, "\rwrote            1"},
    {65536, 100, "\rwrote       65,536"},
    {2500000, 10000, "\rwrote    1,000,000\rwrote    2,000,000\rwrote    2,500,000"},
};

class WriteLoopFileTest : public WriteLoopTest,
                          public ::testing::WithParamInterface<std::tuple<SizeCase, std::int32_t, bool>> {};

TEST_P(WriteLoopFileTest, WritesEveryByteAndReportsProgress)
{
    const auto& [size, fill_mode, checkpoints] = GetParam();
    ASSERT_NO_FATAL_FAILURE(prepare(size.file_size, fill_mode, checkpoints, size.period));

    const std::string report = write_capturing_report();

    std::string time_text;
    std::string progress;
    ASSERT_TRUE(split_report(report, time_text, progress));
    EXPECT_TRUE(looks_like_time_text(time_text)) << time_text;
    EXPECT_EQ(progress, size.progress);

    const std::string expected =
        expected_file(size.file_size, run_state.section_size, fill_mode, checkpoints, size.period);
    const std::string written = file_contents();
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t offset = 0; offset < expected.size(); ++offset)
        ASSERT_EQ(written[offset], expected[offset]) << "offset " << offset;
    expect_released();
}

std::string size_case_name(const ::testing::TestParamInfo<WriteLoopFileTest::ParamType>& info)
{
    const auto& [size, fill_mode, checkpoints] = info.param;
    const char* const modes[] = {"", "Zero", "Alphabet", "Char"};
    return "Size" + std::to_string(size.file_size) + modes[fill_mode] +
           (checkpoints ? "WithCheckpoints" : "WithoutCheckpoints");
}

INSTANTIATE_TEST_SUITE_P(FillModes, WriteLoopFileTest,
                         ::testing::Combine(::testing::ValuesIn(size_cases),
                                            ::testing::Values(FILL_ZERO, FILL_ALPHABET, FILL_CHAR),
                                            ::testing::Bool()),
                         size_case_name);

TEST_F(WriteLoopTest, BannerShowsTheLocalTimeOfTheStart)
{
    ASSERT_NO_FATAL_FAILURE(prepare(0, FILL_ZERO, true, 10));
    const std::time_t before = std::time(nullptr);
    const std::string report = write_capturing_report();
    const std::time_t after = std::time(nullptr);

    std::string time_text;
    std::string rest;
    ASSERT_TRUE(split_report(report, time_text, rest));
    bool matches = false;
    for (std::time_t moment = before; moment <= after; ++moment)
        matches = matches || time_text == local_time_text(moment);
    EXPECT_TRUE(matches) << time_text << " vs " << local_time_text(before);
    EXPECT_EQ(rest, "");
    EXPECT_EQ(file_contents(), "");
    expect_released();
}

// Lowers the file-size limit of this process, so that a write past it fails
// (or stops short) the way a full volume makes it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
        saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, saved_handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*saved_handler_)(int) = SIG_DFL;
};

TEST_F(WriteLoopTest, FailedWriteStopsWithTheTotalSoFar)
{
    const struct {
        rlim_t limit;
        std::uint64_t file_size;
        const char* after_banner;
    } cases[] = {
        {2000000, 2500000, "\rwrote    1,000,000\rwrote    2,000,000\n\nWrite error at 2000000 bytes"},
        // The third write stops short; the next one fails at once.
        {2500000, 3000000,
         "\rwrote    1,000,000\rwrote    2,000,000\rwrote    2,500,000\n\nWrite error at 2500000 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "limit " << c.limit);
        ASSERT_NO_FATAL_FAILURE(prepare(c.file_size, FILL_CHAR, true, 10000));
        std::string report;
        {
            FileSizeLimit limit(c.limit);
            report = write_capturing_report();
        }
        std::string time_text;
        std::string rest;
        ASSERT_TRUE(split_report(report, time_text, rest));
        EXPECT_EQ(rest, c.after_banner);
        const std::string expected = expected_file(c.file_size, run_state.section_size, FILL_CHAR, true, 10000);
        EXPECT_TRUE(file_contents() == expected.substr(0, c.limit)) << "partial file differs";
        expect_released();
    }
}

} // namespace
