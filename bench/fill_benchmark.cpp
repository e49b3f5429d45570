// Speed of what the write loop does between two writes: the fills, one full
// section at a time, the checkpoint, the whole preparation of a section in
// each fill mode, and the text of the progress line.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "dialogue/size_negotiation.h"
#include "generate/checkpoint.h"
#include "generate/fill.h"
#include "generate/section_source.h"
#include "platform/platform.h"
#include "run/run_state.h"
#include "util/format_thousands.h"

namespace {

// A full section and the spare byte the alphabet fill writes past it.
class SectionBuffer {
public:
    SectionBuffer() : bytes_(DEFAULT_SECTION_SIZE + 1) { run_state.section_buffer = bytes_.data(); }
    ~SectionBuffer() { run_state.section_buffer = nullptr; }
    SectionBuffer(const SectionBuffer&) = delete;
    SectionBuffer& operator=(const SectionBuffer&) = delete;

private:
    std::vector<char> bytes_;
};

void report_sections(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * DEFAULT_SECTION_SIZE);
}

void fill_letters_by_period(benchmark::State& state)
{
    SectionBuffer buffer;
    run_state.letter_period = static_cast<std::uint32_t>(state.range(0));
    run_state.current_letter = 'A';
    for (auto _ : state) {
        fill_letters(DEFAULT_SECTION_SIZE);
        benchmark::DoNotOptimize(run_state.section_buffer);
        benchmark::ClobberMemory();
    }
    report_sections(state);
    run_state.letter_period = DEFAULT_LETTER_PERIOD;
}
BENCHMARK(fill_letters_by_period)->Arg(1)->Arg(10)->Arg(100)->Arg(10000)->Arg(4294967295);

void fill_with_char_section(benchmark::State& state)
{
    SectionBuffer buffer;
    char fill_char[2] = {42, 0};
    run_state.fill_char = fill_char;
    for (auto _ : state) {
        fill_with_char(DEFAULT_SECTION_SIZE);
        benchmark::DoNotOptimize(run_state.section_buffer);
        benchmark::ClobberMemory();
    }
    report_sections(state);
    run_state.fill_char = nullptr;
}
BENCHMARK(fill_with_char_section);

void checkpoint_formatting(benchmark::State& state)
{
    char head[CHECKPOINT_RECORD_MAX];
    std::int32_t section = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(write_checkpoint(head, section++, DEFAULT_SECTION_SIZE));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(checkpoint_formatting);

// The progress line's text, as the write loop prints it after every section.
void progress_line_formatting(benchmark::State& state)
{
    char line[64];
    std::uint64_t written = 0;
    for (auto _ : state) {
        written += DEFAULT_SECTION_SIZE;
        benchmark::DoNotOptimize(std::snprintf(line, sizeof line, "\rwrote %12s", format_thousands(written)));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(progress_line_formatting);

// Everything between two writes of full sections with checkpoints, in the
// section buffer the program allocates, by fill mode.
void section_preparation(benchmark::State& state)
{
    run_state.fill_mode = static_cast<std::int32_t>(state.range(0));
    run_state.letter_period = DEFAULT_LETTER_PERIOD;
    run_state.current_letter = 'A';
    char fill_char[2] = {42, 0};
    run_state.fill_char = fill_char;
    allocate_section_buffer(DEFAULT_SECTION_SIZE);

    SectionSource source = begin_sections(DEFAULT_SECTION_SIZE);
    std::int32_t section = 0;
    for (auto _ : state) {
        char* start = next_section(source, DEFAULT_SECTION_SIZE);
        note_overwritten(source, write_checkpoint(start, section++, DEFAULT_SECTION_SIZE) + 1);
        benchmark::DoNotOptimize(start);
        benchmark::ClobberMemory();
    }
    report_sections(state);

    platform::release_pages(run_state.section_buffer, run_state.section_buffer_length);
    run_state.section_buffer = nullptr;
    run_state.fill_char = nullptr;
    run_state.fill_mode = FILL_ZERO;
}
BENCHMARK(section_preparation)->ArgName("fill_mode")->Arg(FILL_ZERO)->Arg(FILL_ALPHABET)->Arg(FILL_CHAR);

} // namespace

BENCHMARK_MAIN();
