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
        std::uint64_t size = 0;
        bool size_known = platform::file_size(file, size);
        platform::close_file(file);
        if (size_known && size == 0)
            platform::remove_file(run_state.output_path);
    }
    platform::end_orderly(status);
}
