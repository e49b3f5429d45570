#pragma once

// Abandons the run: closes the output file, deletes it while it holds no data,
// and ends the process through the orderly exit with `status`. Safe to call
// from the interrupt's own thread while the main flow goes on.
[[noreturn]] void abort_run(int status);
