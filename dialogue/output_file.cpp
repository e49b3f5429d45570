#include "dialogue/output_file.h"

#include <algorithm>
#include <cstdio>

#include "dialogue/console.h"
#include "platform/platform.h"
#include "run/run_state.h"
#include "util/alloc_or_abort.h"

static constexpr std::size_t NAME_BUFFER_BYTES = 1040;

// The typed name. Like every small block of the run it is never released;
// held here, it stays reachable, so a leak check does not count it as lost.
static char* typed_name = nullptr;

// A text buffer that starts empty and lives as long as the process.
static char* new_text_buffer(std::size_t bytes)
{
    auto* buffer = static_cast<char*>(alloc_or_abort((bytes + 3) / 4));
    buffer[0] = '\0';
    return buffer;
}

void select_output_file(int argc, char** argv)
{
    const std::size_t path_limit = platform::path_limit();

    if (argc >= 2) {
        run_state.output_path = new_text_buffer(path_limit);
        platform::full_path(argv[1], run_state.output_path, path_limit);
        return;
    }

    typed_name = new_text_buffer(NAME_BUFFER_BYTES);
    run_state.output_path = new_text_buffer(std::max(NAME_BUFFER_BYTES, path_limit));
    while (typed_name[0] == '\0') {
        platform::clear_screen();
        platform::discard_input();
        std::fprintf(stderr, "\n\n\n\nInput the name of the file to create\n");
        std::fprintf(stderr, "Caution, if the file exists it will be overwritten: ");
        if (!read_token(typed_name, NAME_BUFFER_BYTES))
            give_up_for_lack_of_input();
        platform::full_path(typed_name, run_state.output_path, path_limit);
    }
}

void create_output_file(const char* path)
{
    FileHandle file = platform::create_file(path);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("\nVELMARO, File %s, Line %d\n", __FILE__, __LINE__);
        std::printf("File creation/Open %s failed\n", path);
        platform::end_at_once(1);
    }
    run_state.output_handle.store(file);
}
