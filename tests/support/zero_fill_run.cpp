#include "tests/support/zero_fill_run.h"

#include <regex>

#include "tests/support/fill_dialogue.h"

bool answer_up_to_summary(TerminalSession& session, std::uint64_t size, bool checkpoints)
{
    return answer_size(session, size) && answer(session, {"1", checkpoints ? "N" : "Y"}) &&
           session.wait_until_reading();
}

std::string zero_filled_file(std::uint64_t size, bool checkpoints)
{
    FillChoice zeros;
    zeros.checkpoints = checkpoints;
    return expected_file(size, zeros);
}

testing::AssertionResult after_start_banner(const std::string& report, std::string& rest)
{
    static const std::regex banner("\nProgram started [A-Z][a-z]{2} [A-Z][a-z]{2} [0-9]{2} "
                                   "[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4}\n\n");
    const std::size_t length = std::string("\nProgram started \n\n").size() + 24;
    if (report.size() < length || !std::regex_match(report.substr(0, length), banner))
        return testing::AssertionFailure() << "no start banner at the head of " << testing::PrintToString(report);
    rest = report.substr(length);
    return testing::AssertionSuccess();
}

std::string with_digit_groups(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (auto comma = static_cast<std::ptrdiff_t>(digits.size()) - 3; comma > 0; comma -= 3)
        digits.insert(static_cast<std::size_t>(comma), ",");
    return digits;
}
