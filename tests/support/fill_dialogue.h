// Steps through the questions between the size and the summary, for the
// end-to-end tests of the fill and confirmation pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/terminal_session.h"

// Answers the size question with `size` and keeps it at the 64 KiB offer
// when one comes; true once the fill menu waits for its key.
bool answer_size(TerminalSession& session, std::uint64_t size);

// Types each answer once the program waits for one; a line answer carries
// its Enter ("7\r"). True when every answer could be typed.
bool answer(TerminalSession& session, const std::vector<std::string>& answers);

// Types `keys` once the program waits, and returns what it wrote on the
// dialogue stream in reply up to its next wait for input.
std::string reply_to(TerminalSession& session, std::string_view keys);

// The fill menu page as the program writes it for a file of `size` bytes
// whose letters advance every `period` bytes.
std::string fill_menu_page(const std::string& path, std::uint64_t size, std::uint32_t period);

// `text` right-aligned in `width` characters, as "%*s" prints it.
std::string right_aligned(std::string_view text, std::size_t width);
