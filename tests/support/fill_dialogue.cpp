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

std::string fill_menu_page(const std::string& path, std::uint64_t size, std::uint32_t period)
{
    return "\n\n\nYou have chosen to write " + path + " of " + std::to_string(size) +
           " bytes, \n\n"
           "If the file is greater than 1 meg. then every 1,000,000 bytes will be\n"
           "a text string indicicating how far from the front of the file in 1,000,000\n"
           "byte increments. So at 2000000, the string would look like\n"
           "     2 X 1000000 with leading blanks\n\n"
           "The program will fill the rest of the space with fill data.\n"
           "The fill data can be one of the following. \n\n"
           "1.  Hex 00's\n"
           "2.  The letters of the alphabet (see below)\n"
           "3.  A character of your choosing\n\n"
           "Letters of the alphabet means the characters A-Z, and a-z\n"
           "Every " +
           std::to_string(period) +
           " bytes the letter will be increased by one. This is to allow\n"
           "you the capability of tracking the file contents easier\n\n"
           "Enter a [1,2, or 3] for your choice. If you enter a 3, you will be\n"
           "prompted for the character of your choice\n" +
           "[1,2 or 3]?   ";
}
