#include "run/run_state.h"

RunState run_state;

FileHandle take_output_handle()
{
    return run_state.output_handle.exchange(INVALID_HANDLE_VALUE);
}
