#include "run/abort_run.h"

#include "platform/platform.h"
#include "run/run_state.h"

void abort_run(int status)
{
    // From here on the main flow may not end the process too, nor report a
    // write that fails because the file was closed under it.
    platform::claim_process_end();

    FileHandle file = take_output_handle();
    if (file != INVALID_HANDLE_VALUE) {
        // Closed before its size is told: a section the main flow is writing
        // could otherwise land after the file was found empty, and go with it.
        platform::close_file(file);
        std::uint64_t size = 0;
        if (platform::file_size(run_state.output_path, size) && size == 0)
            platform::remove_file(run_state.output_path);
    }
    platform::end_orderly(status);
}
