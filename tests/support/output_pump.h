// Reads everything a child writes, on a thread of its own, so that the child
// never blocks on a full pipe or terminal; and feeds its standard input from
// a pipe when asked to.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

enum class Stream {
    output,   // the child's stdout
    error,    // the child's stderr
    terminal, // what the child wrote to its terminal (echoes, screen clears)
};

class OutputPump {
public:
    // Takes over the parent's ends: the read ends of the stdout and stderr
    // pipes, the terminal's master side, and the write end of the stdin
    // pipe, which receives `input` and is then closed. -1 for any that is
    // absent.
    OutputPump(int output, int error, int terminal, int input, std::string input_bytes);
    ~OutputPump();
    OutputPump(const OutputPump&) = delete;
    OutputPump& operator=(const OutputPump&) = delete;

    // What has arrived on `stream` so far.
    std::string text(Stream stream) const;
    // Reads whatever is waiting right now, so that text() holds everything
    // written before this call.
    void collect_now();
    // Waits until the child's stdout and stderr have reached their end;
    // false when the deadline came first.
    bool wait_for_end_of_output(std::chrono::steady_clock::time_point deadline);
    // Closes the terminal's master side, which hangs the terminal up.
    void close_terminal();
    // Whether stdin's pipe still has bytes to come: a child that sits in a
    // read then waits for them, not for the user.
    bool feeding_input() const { return feeding_input_; }

private:
    struct Source {
        int descriptor = -1;
        bool ended = true;
        std::string text;
    };

    void run();
    void collect_from(Source& source);
    void feed_input();

    std::array<Source, 3> sources_;
    int input_ = -1;
    std::string input_bytes_;
    std::size_t input_written_ = 0;
    std::atomic<bool> feeding_input_{false};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> stopping_{false};
    bool terminal_close_requested_ = false;
    std::thread thread_;
};
