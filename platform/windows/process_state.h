// What the Windows implementation files share among themselves.
#pragma once

namespace platform::windows {

// Never returns when another thread is ending the process: a failure the
// calling thread sees may be that end at work (its file closed under it).
void wait_if_ending_elsewhere();

// The same, after giving an interrupt a moment to arrive: Ctrl+C cuts a line
// read at the console short before its handler has started on its thread.
void wait_if_interrupt_follows();

} // namespace platform::windows
