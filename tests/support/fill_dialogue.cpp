#include "tests/support/fill_dialogue.h"

namespace {

constexpr std::uint64_t ALIGNMENT_UNIT = 65536;

} // namespace

bool answer_size(TerminalSession& session, std::uint64_t size)
{
    if (!session.wait_until_reading())
        return false;
    session.type_line(std::to_string(size));
    if (size % ALIGNMENT_UNIT != 0) {
        if (!session.wait_until_reading())
            return false;
        session.press('Y');
    }
    return session.wait_until_reading();
}

bool answer(TerminalSession& session, const std::vector<std::string>& answers)
{
    for (const std::string& keys : answers) {
        if (!session.wait_until_reading())
            return false;
        session.type(keys);
    }
    return true;
}

std::string reply_to(TerminalSession& session, std::string_view keys)
{
    if (!session.wait_until_reading())
        return "";
    const std::size_t before = session.error_output().size();
    session.type(keys);
    session.wait_until_reading();
    return session.error_output().substr(before);
}

std::string right_aligned(std::string_view text, std::size_t width)
{
    std::string padded(text.size() < width ? width - text.size() : 0, ' ');
    padded += text;
    return padded;
}
