// Feeds arbitrary bytes to the checker's reading of a file's head: the
// checkpoint reader and the inference of the settings, which then rebuilds
// sections with the writer's code. Nothing may crash or read out of bounds,
// and whatever the inference settles on must be a layout the writer can
// make.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "check/checkpoint_reader.h"
#include "check/inference.h"
#include "generate/checkpoint.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte says how much longer than its head the file is, so
    // that heads of whole files and of longer ones are both met.
    if (size == 0)
        return 0;
    const std::uint64_t file_size = size - 1 + std::uint64_t{data[0]} * 100000;
    const unsigned char* head = data + 1;
    const std::size_t head_length = size - 1;

    std::int32_t number = 0;
    std::uint32_t section_size = 0;
    if (read_checkpoint(head, head_length, number, section_size)) {
        char record[CHECKPOINT_RECORD_MAX];
        const std::size_t length = write_checkpoint(record, number, section_size) + 1;
        if (length > head_length || std::memcmp(record, head, length) != 0)
            std::abort();
    }

    const Inference inference = infer_layout(head, head_length, file_size, StatedSettings{});
    if (inference.recognised) {
        const FileLayout& layout = inference.layout;
        if (layout.section_size > DEFAULT_SECTION_SIZE || (layout.section_size == 0 && layout.expected_size != 0) ||
            layout.fill.letter_period == 0)
            std::abort();
    }
    return 0;
}
