// The line that shows, on a console, how far the check has come: bytes
// checked, percent, the current read speed and the time left. Rewritten in
// place a few times a second, and wiped before the report.
#pragma once

#include <cstdint>

struct Progress {
    bool shown = false;
    std::uint64_t total = 0;
    double started = 0;
    // The last time the line was drawn, and the bytes done then: the
    // current speed is measured from there.
    double drawn_at = 0;
    std::uint64_t drawn_bytes = 0;
    bool drawn = false;
};

// Starts the clock; the line is shown only on a console and for files large
// enough to take a while.
Progress begin_progress(std::uint64_t total);

// `done` bytes are checked.
void show_progress(Progress& progress, std::uint64_t done);

// Wipes the line; returns the seconds since begin_progress.
double end_progress(Progress& progress);

// Writes a rate of bytes a second as megabytes a second, one decimal.
void format_speed(char* text, std::size_t size, double bytes_per_second);
