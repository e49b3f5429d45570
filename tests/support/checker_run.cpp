#include "tests/support/checker_run.h"

#include <regex>
#include <sstream>

ProgramOutcome run_checker(const std::vector<std::string>& arguments, bool error_on_terminal)
{
    ProgramRun run;
    run.program = FILEGEN_CHECK_BINARY;
    run.arguments = arguments;
    run.error_on_terminal = error_on_terminal;
    return run_program(run);
}

testing::AssertionResult report_without_timing(const std::string& report, std::vector<std::string>& lines)
{
    static const std::regex read_line(
        "read:      [0-9,]+ bytes? in [0-9]+\\.[0-9]{3} s, [0-9,]+\\.[0-9] MB/s on average");
    lines.clear();
    std::istringstream stream(report);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    if (report.empty() || report.back() != '\n')
        return testing::AssertionFailure() << "the report does not end with a whole line:\n" << report;
    if (lines.empty() || !std::regex_match(lines.back(), read_line))
        return testing::AssertionFailure() << "the report does not end with the read line:\n" << report;
    lines.pop_back();
    return testing::AssertionSuccess();
}
