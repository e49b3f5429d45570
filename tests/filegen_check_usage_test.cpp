// filegen-check on what it cannot check, and on mistakes on its command
// line: status 2 and a message that says what is wrong; and the two things
// it can always answer, --help and an empty file.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "tests/support/checker_run.h"
#include "tests/support/temporary_directory.h"

namespace {

// Bytes no fill makes, the first of them not zero.
std::string noise(std::size_t count)
{
    std::mt19937 generator(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(count, '\0');
    for (char& value : bytes)
        value = static_cast<char>(byte(generator));
    bytes[0] = 'R';
    return bytes;
}

void write_file(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct UncheckableCase {
    const char* name;
    // Makes what the path names.
    void (*make)(const std::string& path);
    // The message is these two around the path.
    const char* before_path;
    const char* after_path;
    friend void PrintTo(const UncheckableCase& c, std::ostream* stream) { *stream << c.name; }
};

class Uncheckable : public testing::TestWithParam<UncheckableCase> {};

TEST_P(Uncheckable, EndsWithStatus2AndSaysWhy)
{
    const UncheckableCase& c = GetParam();
    TemporaryDirectory directory;
    const std::string path = directory.file("target");
    c.make(path);

    const ProgramOutcome checked = run_checker({path});

    EXPECT_EQ(checked.status, ExitStatus::exited(2));
    EXPECT_EQ(checked.output, "");
    EXPECT_EQ(checked.error, "filegen-check: " + (c.before_path + path + c.after_path) + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    FilegenCheck, Uncheckable,
    testing::Values(
        UncheckableCase{"MissingFile", [](const std::string&) {}, "cannot open ", ": No such file or directory"},
        UncheckableCase{"Directory", [](const std::string& path) { mkdir(path.c_str(), 0700); },
                        "cannot open ", ": Is a directory"},
        // Opened without waiting for a writer that never comes.
        UncheckableCase{"Fifo", [](const std::string& path) { mkfifo(path.c_str(), 0600); },
                        "cannot open ", ": Not a regular file"},
        UncheckableCase{"RandomBytes", [](const std::string& path) { write_file(path, noise(100000)); },
                        "",
                        " does not look like a file filegen writes: no fill reproduces its first bytes. State the "
                        "settings (see --help) to check it anyway."}),
    [](const testing::TestParamInfo<UncheckableCase>& info) { return std::string(info.param.name); });

TEST(FilegenCheck, ChecksRandomBytesAgainstStatedSettings)
{
    TemporaryDirectory directory;
    const std::string path = directory.file("noise");
    write_file(path, noise(100000));

    const ProgramOutcome checked = run_checker({"--fill", "zero", "--checkpoints", "off", path});

    EXPECT_EQ(checked.status, ExitStatus::exited(1));
    std::vector<std::string> report;
    ASSERT_TRUE(report_without_timing(checked.output, report));
    EXPECT_EQ(report, (std::vector<std::string>{
                          "file:      " + path + ", 100,000 bytes",
                          "settings:  zero fill, checkpoints off, sections of 100,000 bytes (fill, checkpoints "
                          "stated, the rest inferred)",
                          "damaged:   first difference at offset 0 in section 0: expected 0x00, found 0x52 'R'",
                          "damaged:   1 of 1 section differs"}));
}

TEST(FilegenCheck, TakesAnEmptyFileForIntact)
{
    TemporaryDirectory directory;
    const std::string path = directory.file("empty");
    write_file(path, "");

    const ProgramOutcome checked = run_checker({path});

    EXPECT_EQ(checked.status, ExitStatus::exited(0));
    EXPECT_EQ(checked.error, "");
    std::vector<std::string> report;
    ASSERT_TRUE(report_without_timing(checked.output, report));
    EXPECT_EQ(report, (std::vector<std::string>{"file:      " + path + ", 0 bytes",
                                                "settings:  none to infer: the file is empty",
                                                "intact:    0 bytes in 0 sections"}));
}

TEST(FilegenCheck, ShowsItsUsageOnHelp)
{
    const ProgramOutcome checked = run_checker({"--help"});

    EXPECT_EQ(checked.status, ExitStatus::exited(0));
    EXPECT_EQ(checked.error, "");
    EXPECT_TRUE(checked.output.starts_with("Usage: filegen-check [OPTION]... FILE\n")) << checked.output;
    for (const char* option : {"--fill", "--period", "--char", "--checkpoints", "--size", "--all", "--help"})
        EXPECT_NE(checked.output.find(option), std::string::npos) << option;
}

struct MistakeCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* message;
    friend void PrintTo(const MistakeCase& c, std::ostream* stream) { *stream << c.name; }
};

class CommandLineMistake : public testing::TestWithParam<MistakeCase> {};

TEST_P(CommandLineMistake, EndsWithStatus2AndPointsToHelp)
{
    const MistakeCase& c = GetParam();

    const ProgramOutcome checked = run_checker(c.arguments);

    EXPECT_EQ(checked.status, ExitStatus::exited(2));
    EXPECT_EQ(checked.output, "");
    EXPECT_EQ(checked.error, "filegen-check: " + std::string(c.message) + "\nTry 'filegen-check --help'.\n");
}

INSTANTIATE_TEST_SUITE_P(
    FilegenCheck, CommandLineMistake,
    testing::Values(MistakeCase{"NoFile", {}, "no file named"},
                    MistakeCase{"UnknownOption", {"--bogus", "f"}, "unknown option '--bogus'"},
                    MistakeCase{"ZeroPeriod", {"--period", "0", "f"},
                                "--period takes a whole number from 1 to 4294967295, not '0'"},
                    MistakeCase{"TwoFiles", {"a", "b"}, "one file at a time: 'a' and 'b'"},
                    MistakeCase{"NoValue", {"f", "--size"}, "--size needs a value"}),
    [](const testing::TestParamInfo<MistakeCase>& info) { return std::string(info.param.name); });

} // namespace
