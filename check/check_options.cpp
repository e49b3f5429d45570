#include "check/check_options.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

const char CHECK_USAGE[] =
    "Usage: filegen-check [OPTION]... FILE\n"
    "Tells whether FILE, written by filegen, is intact, and where it is not.\n"
    "The fill, the letter period, the fill character and the checkpoints are\n"
    "read from the file itself unless stated:\n"
    "  --fill zero|alphabet|char   the fill\n"
    "  --period N                  the letter period of the alphabet fill\n"
    "  --char N                    the fill character, a value from 0 to 255\n"
    "  --checkpoints on|off        whether sections start with a checkpoint\n"
    "  --size N                    the size the file was made with; a file\n"
    "                              shorter or longer than that is damaged\n"
    "  --all                       list every damaged section\n"
    "  --help                      show this text\n"
    "Exit status: 0 intact, 1 damaged or truncated, 2 unreadable, not written\n"
    "by filegen, or a mistake on the command line.\n";

namespace {

char error_text[256];

bool fail(const char*& error, const char* format, const char* a, const char* b = "")
{
    std::snprintf(error_text, sizeof error_text, format, a, b);
    error = error_text;
    return false;
}

// A whole decimal number no larger than `largest`, digits only.
bool parse_count(const char* text, std::uint64_t largest, std::uint64_t& value)
{
    value = 0;
    if (*text == '\0')
        return false;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9')
            return false;
        const auto digit = static_cast<std::uint64_t>(*text - '0');
        if (value > (largest - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

// Sets the fill mode, refusing a second one that differs.
bool state_fill_mode(StatedSettings& stated, std::int32_t mode, const char* option, const char*& error)
{
    if (stated.has_fill_mode && stated.fill_mode != mode)
        return fail(error, "%s does not go with the fill stated before it", option);
    stated.has_fill_mode = true;
    stated.fill_mode = mode;
    return true;
}

bool take_option(StatedSettings& stated, const char* option, const char* value, const char*& error)
{
    std::uint64_t number = 0;
    if (std::strcmp(option, "--fill") == 0) {
        if (std::strcmp(value, "zero") == 0)
            return state_fill_mode(stated, FILL_ZERO, option, error);
        if (std::strcmp(value, "alphabet") == 0)
            return state_fill_mode(stated, FILL_ALPHABET, option, error);
        if (std::strcmp(value, "char") == 0)
            return state_fill_mode(stated, FILL_CHAR, option, error);
        return fail(error, "--fill takes zero, alphabet or char, not '%s'", value);
    }
    if (std::strcmp(option, "--period") == 0) {
        if (!parse_count(value, UINT32_MAX, number) || number == 0)
            return fail(error, "--period takes a whole number from 1 to 4294967295, not '%s'", value);
        stated.has_letter_period = true;
        stated.letter_period = static_cast<std::uint32_t>(number);
        return state_fill_mode(stated, FILL_ALPHABET, option, error);
    }
    if (std::strcmp(option, "--char") == 0) {
        if (!parse_count(value, 255, number))
            return fail(error, "--char takes a whole number from 0 to 255, not '%s'", value);
        stated.has_fill_byte = true;
        stated.fill_byte = static_cast<unsigned char>(number);
        return state_fill_mode(stated, FILL_CHAR, option, error);
    }
    if (std::strcmp(option, "--checkpoints") == 0) {
        if (std::strcmp(value, "on") != 0 && std::strcmp(value, "off") != 0)
            return fail(error, "--checkpoints takes on or off, not '%s'", value);
        stated.has_checkpoints = true;
        stated.checkpoints = std::strcmp(value, "on") == 0;
        return true;
    }
    if (!parse_count(value, UINT64_MAX, number))
        return fail(error, "--size takes a whole number of bytes, not '%s'", value);
    stated.has_size = true;
    stated.size = number;
    return true;
}

bool takes_value(const char* option)
{
    for (const char* name : {"--fill", "--period", "--char", "--checkpoints", "--size"})
        if (std::strcmp(option, name) == 0)
            return true;
    return false;
}

} // namespace

bool parse_check_options(int argc, char** argv, CheckRequest& request, const char*& error)
{
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (options_ended || argument[0] != '-' || argument[1] == '\0') {
            if (request.path != nullptr)
                return fail(error, "one file at a time: '%s' and '%s'", request.path, argument);
            request.path = argument;
            continue;
        }
        if (std::strcmp(argument, "--") == 0) {
            options_ended = true;
            continue;
        }
        if (std::strcmp(argument, "--all") == 0) {
            request.list_all = true;
            continue;
        }
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            request.help = true;
            continue;
        }
        // --option value, or --option=value.
        char option[32];
        const char* value = nullptr;
        const char* equals = std::strchr(argument, '=');
        const std::size_t name_length = equals ? static_cast<std::size_t>(equals - argument) : std::strlen(argument);
        if (name_length >= sizeof option)
            return fail(error, "unknown option '%s'", argument);
        std::memcpy(option, argument, name_length);
        option[name_length] = '\0';
        if (!takes_value(option))
            return fail(error, "unknown option '%s'", argument);
        if (equals != nullptr)
            value = equals + 1;
        else if (i + 1 < argc)
            value = argv[++i];
        else
            return fail(error, "%s needs a value", option);
        if (!take_option(request.stated, option, value, error))
            return false;
    }
    if (request.path == nullptr && !request.help)
        return fail(error, "%s", "no file named");
    return true;
}
