// What the POSIX implementation files share among themselves.
#pragma once

namespace platform::posix {

// Puts the terminal back into the mode it had before a key was read raw.
void restore_terminal();

// Never returns when another thread is ending the process: a failure the
// calling thread sees may be that end at work (its file closed under it).
void wait_if_ending_elsewhere();

} // namespace platform::posix
