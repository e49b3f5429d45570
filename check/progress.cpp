#include "check/progress.h"

#include <cstdio>

#include "platform/platform.h"
#include "util/format_thousands.h"

namespace {

// Files below this check in a moment; a line would only flicker.
constexpr std::uint64_t LARGE_FILE_BYTES = 100 * std::uint64_t{1000000};
constexpr double SECONDS_BETWEEN_LINES = 0.25;
// Wide enough to cover the longest line drawn.
constexpr int LINE_WIDTH = 79;

void format_duration(char* text, std::size_t size, double seconds)
{
    const auto whole = static_cast<std::uint64_t>(seconds + 0.5);
    std::snprintf(text, size, "%llu:%02u:%02u", static_cast<unsigned long long>(whole / 3600),
                  static_cast<unsigned>(whole / 60 % 60), static_cast<unsigned>(whole % 60));
}

} // namespace

void format_speed(char* text, std::size_t size, double bytes_per_second)
{
    const double megabytes = bytes_per_second / 1e6;
    const auto tenths = static_cast<std::uint64_t>(megabytes * 10 + 0.5);
    std::snprintf(text, size, "%s.%u MB/s", format_thousands(tenths / 10), static_cast<unsigned>(tenths % 10));
}

Progress begin_progress(std::uint64_t total)
{
    Progress progress;
    progress.total = total;
    progress.shown = total >= LARGE_FILE_BYTES && platform::error_stream_is_console();
    progress.started = platform::monotonic_seconds();
    progress.drawn_at = progress.started;
    return progress;
}

void show_progress(Progress& progress, std::uint64_t done)
{
    if (!progress.shown)
        return;
    const double now = platform::monotonic_seconds();
    const double interval = now - progress.drawn_at;
    // The first line as soon as there is a speed to show, then a few a
    // second.
    if (interval <= 0 || (progress.drawn && interval < SECONDS_BETWEEN_LINES))
        return;
    const double speed = static_cast<double>(done - progress.drawn_bytes) / interval;
    const double average = static_cast<double>(done) / (now - progress.started);
    char speed_text[48];
    format_speed(speed_text, sizeof speed_text, speed);
    char left_text[32];
    format_duration(left_text, sizeof left_text,
                    average > 0 ? static_cast<double>(progress.total - done) / average : 0);
    const auto percent = static_cast<unsigned>(progress.total ? done * 100 / progress.total : 100);

    std::fprintf(stderr, "\rchecked %s bytes  %3u%%  %s  %s left   ", format_thousands(done), percent, speed_text,
                 left_text);
    std::fflush(stderr);
    progress.drawn_at = now;
    progress.drawn_bytes = done;
    progress.drawn = true;
}

double end_progress(Progress& progress)
{
    if (progress.drawn) {
        std::fprintf(stderr, "\r%*s\r", LINE_WIDTH, "");
        std::fflush(stderr);
    }
    return platform::monotonic_seconds() - progress.started;
}
