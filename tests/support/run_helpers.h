// Small helpers that end-to-end tests share: a run in a directory of its own,
// and a look at what it left there.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temporary_directory.h"
#include "tests/support/terminal_session.h"

// A launch with `arguments`, working in `directory`.
Launch launch_in(const TemporaryDirectory& directory, std::vector<std::string> arguments);

// The names in `directory`, sorted.
std::vector<std::string> entries_of(const std::filesystem::path& directory);

// The whole content of the file at `path`; empty when there is none.
std::string contents_of(const std::filesystem::path& path);

// The question every run with a file reaches first.
std::string size_question(const std::string& path);
