#include "check/inference.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>
#include <vector>

#include "check/checkpoint_reader.h"
#include "check/expected_sections.h"
#include "generate/checkpoint.h"
#include "generate/fill.h"

namespace {

// Changes of letter looked at per section: plenty to find the period by
// majority, few enough to stay quick with a period of 1.
constexpr std::size_t CHANGES_PER_SECTION = 64;

struct SizeReading {
    std::uint32_t section_size = 0;
    std::uint64_t expected_size = 0;
    bool lower_bound = false;
    bool from_checkpoint = false;
};

std::uint32_t section_size_for(std::uint64_t size)
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(size, DEFAULT_SECTION_SIZE));
}

// The sizes a file without checkpoints tells: its own.
SizeReading size_as_found(std::uint64_t file_size, const StatedSettings& stated)
{
    const std::uint64_t size = stated.has_size ? stated.size : file_size;
    return {section_size_for(size), size, false, false};
}

// The sizes the checkpoints tell: a section size below a full section is
// the size of the whole file, which was one section; a full section size
// says that the file had at least that many bytes.
SizeReading size_from_checkpoints(const unsigned char* head, std::size_t head_length, std::uint64_t file_size)
{
    for (std::size_t start = 0; start < head_length; start += DEFAULT_SECTION_SIZE) {
        std::int32_t number = 0;
        std::uint32_t size = 0;
        if (!read_checkpoint(head + start, head_length - start, number, size) || size == 0 ||
            size > DEFAULT_SECTION_SIZE || (start > 0 && size != DEFAULT_SECTION_SIZE))
            continue;
        if (size < DEFAULT_SECTION_SIZE)
            return {size, size, false, true};
        if (file_size < DEFAULT_SECTION_SIZE)
            return {size, DEFAULT_SECTION_SIZE, true, true};
        return {size, file_size, false, true};
    }
    return size_as_found(file_size, StatedSettings{});
}

bool is_letter(unsigned char byte)
{
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool is_next_letter(unsigned char before, unsigned char after)
{
    return is_letter(before) && is_letter(after) &&
           numbered_letter(letter_number(static_cast<char>(before)) + 1) == static_cast<char>(after);
}

// Where the fill of a section shows: past its checkpoint when one is
// there, otherwise past the room the longest checkpoint takes.
std::size_t first_visible(const unsigned char* section, std::size_t available)
{
    std::int32_t number = 0;
    std::uint32_t size = 0;
    if (!read_checkpoint(section, available, number, size))
        return std::min(available, CHECKPOINT_RECORD_MAX);
    char record[CHECKPOINT_RECORD_MAX];
    return write_checkpoint(record, number, size) + 1;
}

// Whether the letters of [from, to) are those of the first section with
// letters advancing every `period` bytes.
bool first_section_letters(const unsigned char* head, std::size_t from, std::size_t to, std::uint64_t period)
{
    for (std::size_t i = from; i < to; ++i)
        if (static_cast<char>(head[i]) != numbered_letter(i / period))
            return false;
    return true;
}

// The shortest letter period that gives the first section's visible
// letters, when they are too few to show the period by their changes.
constexpr std::uint64_t LONGEST_SEARCHED_PERIOD = 4096;
constexpr std::size_t SEARCHED_LETTERS = 4096;

std::uint32_t search_period(const unsigned char* head, std::size_t from, std::size_t to)
{
    to = std::min(to, from + SEARCHED_LETTERS);
    if (from >= to)
        return 0;
    for (std::uint64_t period = 1; period <= LONGEST_SEARCHED_PERIOD; ++period)
        if (first_section_letters(head, from, to, period))
            return static_cast<std::uint32_t>(period);
    return 0;
}

// What the head's sections show past their checkpoints.
struct HeadSurvey {
    bool empty = true;
    unsigned char most_common_visible = 0;
    unsigned char most_common_overall = 0;
    std::vector<std::uint32_t> periods;
};

HeadSurvey survey_head(const unsigned char* head, std::size_t head_length, std::uint32_t section_size)
{
    HeadSurvey survey;
    survey.empty = head_length == 0;
    std::array<std::uint64_t, 256> visible{};
    std::array<std::uint64_t, 256> overall{};
    std::map<std::uint64_t, std::uint64_t> distances;
    std::vector<std::size_t> first_section_changes;

    const std::size_t step = std::max<std::size_t>(section_size, 1);
    for (std::size_t start = 0; start < head_length; start += step) {
        const std::size_t end = std::min(head_length, start + step);
        for (std::size_t i = start; i < end; ++i)
            ++overall[head[i]];
        const std::size_t visible_start = start + first_visible(head + start, end - start);
        std::size_t last_change = 0;
        std::size_t changes = 0;
        for (std::size_t i = visible_start; i < end; ++i) {
            ++visible[head[i]];
            if (i == visible_start || head[i] == head[i - 1] || changes >= CHANGES_PER_SECTION)
                continue;
            if (!is_next_letter(head[i - 1], head[i])) {
                last_change = 0;
                continue;
            }
            if (last_change != 0)
                ++distances[i - last_change];
            last_change = i;
            ++changes;
            if (start == 0)
                first_section_changes.push_back(i);
        }
    }

    const auto most_common = [](const std::array<std::uint64_t, 256>& counts) {
        return static_cast<unsigned char>(std::max_element(counts.begin(), counts.end()) - counts.begin());
    };
    survey.most_common_overall = most_common(overall);
    survey.most_common_visible = most_common(visible);

    const auto majority = std::max_element(distances.begin(), distances.end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
    if (majority != distances.end() && majority->first <= UINT32_MAX)
        survey.periods.push_back(static_cast<std::uint32_t>(majority->first));
    // A single change in the first section, at a multiple of the period
    // whose letter tells which multiple.
    if (first_section_changes.size() == 1) {
        const std::size_t at = first_section_changes.front();
        std::uint64_t multiple = letter_number(static_cast<char>(head[at]));
        if (multiple == 0)
            multiple = 52;
        if (at % multiple == 0)
            survey.periods.push_back(static_cast<std::uint32_t>(at / multiple));
    }
    const std::size_t first_end = std::min<std::size_t>(head_length, step);
    const std::size_t first_start = first_visible(head, first_end);
    if (survey.periods.empty()) {
        if (const std::uint32_t period = search_period(head, first_start, first_end))
            survey.periods.push_back(period);
    }
    if (first_start < first_end && first_section_letters(head, first_start, first_end, LONGER_THAN_ANY_SECTION)) {
        survey.periods.push_back(LONGER_THAN_ANY_SECTION);
        // A period of exactly one section shows no change inside any: each
        // section holds one letter, the one after the section before's.
        survey.periods.push_back(section_size);
    }
    return survey;
}

// How many of the head's bytes the layout reproduces.
std::uint64_t head_matches(const FileLayout& layout, const unsigned char* head, std::size_t head_length)
{
    ExpectedSections sections;
    if (layout.section_size == 0 || !begin_expected_sections(layout, sections))
        return 0;
    std::uint64_t matches = 0;
    const std::uint64_t end = std::min<std::uint64_t>(head_length, layout.expected_size);
    for (std::uint64_t start = 0; start < end; start += layout.section_size) {
        const auto length = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(layout.section_size, layout.expected_size - start));
        const char* expected = next_expected_section(sections, length);
        const auto compared = static_cast<std::size_t>(std::min<std::uint64_t>(length, end - start));
        matches += compared - differing_bytes(expected, head + start, compared);
    }
    end_expected_sections();
    return matches;
}

void add_fill(std::vector<FillSettings>& fills, const FillSettings& fill, const StatedSettings& stated)
{
    if ((stated.has_fill_mode && fill.fill_mode != stated.fill_mode) ||
        (stated.has_letter_period && fill.letter_period != stated.letter_period) ||
        (stated.has_fill_byte && fill.fill_byte != stated.fill_byte))
        return;
    if (std::find(fills.begin(), fills.end(), fill) == fills.end())
        fills.push_back(fill);
}

// The fills worth trying, in the order preferred when two give the same
// bytes: zero, then a character, then the alphabet.
std::vector<FillSettings> candidate_fills(const HeadSurvey& survey, const StatedSettings& stated)
{
    std::vector<FillSettings> fills;
    add_fill(fills, {FILL_ZERO, DEFAULT_LETTER_PERIOD, 0, true}, stated);
    if (stated.has_fill_byte) {
        add_fill(fills, {FILL_CHAR, DEFAULT_LETTER_PERIOD, stated.fill_byte, true}, stated);
    } else {
        // A character of 0 is the zero fill over again, unless stated.
        for (unsigned char byte : {survey.most_common_visible, survey.most_common_overall})
            if (byte != 0 || (stated.has_fill_mode && stated.fill_mode == FILL_CHAR))
                add_fill(fills, {FILL_CHAR, DEFAULT_LETTER_PERIOD, byte, true}, stated);
    }
    if (stated.has_letter_period) {
        add_fill(fills, {FILL_ALPHABET, stated.letter_period, 0, true}, stated);
    } else {
        for (std::uint32_t period : survey.periods)
            add_fill(fills, {FILL_ALPHABET, period, 0, true}, stated);
    }
    // An empty file shows no letters, and any period gives it.
    if (fills.empty() && survey.empty)
        add_fill(fills, {FILL_ALPHABET, LONGER_THAN_ANY_SECTION, 0, true}, stated);
    return fills;
}

struct Candidate {
    FileLayout layout;
    std::uint64_t matches = 0;
};

} // namespace

Inference infer_layout(const unsigned char* head, std::size_t head_length, std::uint64_t file_size,
                       const StatedSettings& stated)
{
    Inference inference;
    const SizeReading read_from_checkpoints = size_from_checkpoints(head, head_length, file_size);
    const SizeReading with_checkpoints =
        stated.has_size ? size_as_found(file_size, stated) : read_from_checkpoints;
    const SizeReading without_checkpoints = size_as_found(file_size, stated);
    const HeadSurvey survey = survey_head(head, head_length, with_checkpoints.section_size);

    std::vector<Candidate> candidates;
    for (bool checkpoints : {true, false}) {
        if (stated.has_checkpoints && checkpoints != stated.checkpoints)
            continue;
        const SizeReading& size = checkpoints ? with_checkpoints : without_checkpoints;
        for (FillSettings fill : candidate_fills(survey, stated)) {
            // The writer never leaves the checkpoints out of the alphabet
            // fill; only a statement makes that a reading.
            if (fill.fill_mode == FILL_ALPHABET && !checkpoints && !stated.has_fill_mode)
                continue;
            fill.checkpoints = checkpoints;
            Candidate candidate;
            candidate.layout = {fill, size.section_size, size.expected_size, size.lower_bound};
            candidate.matches = head_matches(candidate.layout, head, head_length);
            candidates.push_back(candidate);
        }
    }
    if (candidates.empty())
        return inference;

    // The first of the best, so that a tie goes to the preferred reading.
    const Candidate* best = &candidates.front();
    for (const Candidate& candidate : candidates)
        if (candidate.matches > best->matches)
            best = &candidate;

    // A file is taken for one of this program's when the settings found
    // reproduce most of its head, or its checkpoints say so, or it should
    // be empty, and there is nothing to compare its head with.
    if (!stated.has_fill_mode && head_length > 0 && best->matches * 2 < head_length &&
        !read_from_checkpoints.from_checkpoint && with_checkpoints.expected_size > 0)
        return inference;

    inference.recognised = true;
    inference.layout = best->layout;
    if (best->matches != head_length || stated.has_fill_mode)
        return inference;
    if (best->layout.fill.fill_mode == FILL_ZERO) {
        inference.has_alternative = true;
        inference.alternative = {FILL_CHAR, DEFAULT_LETTER_PERIOD, 0, best->layout.fill.checkpoints};
        return inference;
    }
    for (const Candidate& candidate : candidates) {
        if (&candidate != best && candidate.matches == best->matches) {
            inference.has_alternative = true;
            inference.alternative = candidate.layout.fill;
            break;
        }
    }
    return inference;
}
