#include "check/check_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string fill_name(std::int32_t mode)
{
    switch (mode) {
    case FILL_ALPHABET:
        return "alphabet";
    case FILL_CHAR:
        return "char";
    default:
        return "zero";
    }
}

// What a command line asked for, one word per thing stated.
std::string describe(const CheckRequest& request)
{
    const StatedSettings& stated = request.stated;
    std::string text = "file=" + std::string(request.path ? request.path : "(none)");
    if (stated.has_fill_mode)
        text += " fill=" + fill_name(stated.fill_mode);
    if (stated.has_letter_period)
        text += " period=" + std::to_string(stated.letter_period);
    if (stated.has_fill_byte)
        text += " char=" + std::to_string(stated.fill_byte);
    if (stated.has_checkpoints)
        text += stated.checkpoints ? " checkpoints=on" : " checkpoints=off";
    if (stated.has_size)
        text += " size=" + std::to_string(stated.size);
    if (request.list_all)
        text += " all";
    if (request.help)
        text += " help";
    return text;
}

// The request described, or "error: " and the message.
std::string parse(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "filegen-check");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    CheckRequest request;
    const char* error = nullptr;
    if (!parse_check_options(static_cast<int>(arguments.size()), argv.data(), request, error))
        return "error: " + std::string(error ? error : "(no message)");
    return describe(request);
}

struct OptionsCase {
    std::vector<std::string> arguments;
    std::string outcome;
};

TEST(ParseCheckOptions, ReadsWhatACommandLineStates)
{
    const OptionsCase cases[] = {
        {{"f"}, "file=f"},
        {{"--fill", "zero", "f"}, "file=f fill=zero"},
        {{"--fill=alphabet", "f"}, "file=f fill=alphabet"},
        {{"f", "--fill", "char"}, "file=f fill=char"},
        {{"--fill", "zero", "--fill=zero", "f"}, "file=f fill=zero"},
        // A period or a character says which fill too.
        {{"--period", "7", "f"}, "file=f fill=alphabet period=7"},
        {{"--period=1", "f"}, "file=f fill=alphabet period=1"},
        {{"--period", "4294967295", "f"}, "file=f fill=alphabet period=4294967295"},
        {{"--fill", "alphabet", "--period", "7", "f"}, "file=f fill=alphabet period=7"},
        {{"--period", "7", "--fill", "alphabet", "f"}, "file=f fill=alphabet period=7"},
        {{"--char", "0", "f"}, "file=f fill=char char=0"},
        {{"--char=255", "--fill=char", "f"}, "file=f fill=char char=255"},
        {{"--checkpoints", "off", "f"}, "file=f checkpoints=off"},
        {{"--checkpoints=on", "f"}, "file=f checkpoints=on"},
        {{"--size", "0", "f"}, "file=f size=0"},
        {{"--size=18446744073709551615", "f"}, "file=f size=18446744073709551615"},
        {{"f", "--all"}, "file=f all"},
        {{"--help"}, "file=(none) help"},
        {{"-h", "f"}, "file=f help"},
        {{"-"}, "file=-"},
        {{"--", "--all"}, "file=--all"},
        {{"--fill", "char", "--char", "42", "--checkpoints", "off", "--size", "65536", "--all", "f"},
         "file=f fill=char char=42 checkpoints=off size=65536 all"},
    };
    for (const OptionsCase& c : cases)
        EXPECT_EQ(parse(c.arguments), c.outcome) << testing::PrintToString(c.arguments);
}

TEST(ParseCheckOptions, SaysWhatIsWrongWithACommandLine)
{
    const OptionsCase cases[] = {
        {{}, "error: no file named"},
        {{"--all"}, "error: no file named"},
        {{"a", "b"}, "error: one file at a time: 'a' and 'b'"},
        {{"--bogus", "f"}, "error: unknown option '--bogus'"},
        {{"-x", "f"}, "error: unknown option '-x'"},
        {{"--all=yes", "f"}, "error: unknown option '--all=yes'"},
        {{"--an-option-longer-than-any-there-is=1", "f"},
         "error: unknown option '--an-option-longer-than-any-there-is=1'"},
        {{"--help", "--bogus"}, "error: unknown option '--bogus'"},
        {{"f", "--size"}, "error: --size needs a value"},
        {{"--fill", "ones", "f"}, "error: --fill takes zero, alphabet or char, not 'ones'"},
        {{"--fill=", "f"}, "error: --fill takes zero, alphabet or char, not ''"},
        {{"--period", "0", "f"}, "error: --period takes a whole number from 1 to 4294967295, not '0'"},
        {{"--period", "4294967296", "f"},
         "error: --period takes a whole number from 1 to 4294967295, not '4294967296'"},
        {{"--period", "7x", "f"}, "error: --period takes a whole number from 1 to 4294967295, not '7x'"},
        {{"--period", "-7", "f"}, "error: --period takes a whole number from 1 to 4294967295, not '-7'"},
        {{"--char", "256", "f"}, "error: --char takes a whole number from 0 to 255, not '256'"},
        {{"--char", "-1", "f"}, "error: --char takes a whole number from 0 to 255, not '-1'"},
        {{"--char", "A", "f"}, "error: --char takes a whole number from 0 to 255, not 'A'"},
        {{"--checkpoints", "yes", "f"}, "error: --checkpoints takes on or off, not 'yes'"},
        {{"--size", "18446744073709551616", "f"},
         "error: --size takes a whole number of bytes, not '18446744073709551616'"},
        {{"--size", "1e6", "f"}, "error: --size takes a whole number of bytes, not '1e6'"},
        {{"--size", "", "f"}, "error: --size takes a whole number of bytes, not ''"},
        // A fill stated twice over, two different ways.
        {{"--fill", "zero", "--char", "5", "f"}, "error: --char does not go with the fill stated before it"},
        {{"--period", "7", "--fill", "char", "f"}, "error: --fill does not go with the fill stated before it"},
        {{"--char", "5", "--period", "7", "f"}, "error: --period does not go with the fill stated before it"},
    };
    for (const OptionsCase& c : cases)
        EXPECT_EQ(parse(c.arguments), c.outcome) << testing::PrintToString(c.arguments);
}

} // namespace
