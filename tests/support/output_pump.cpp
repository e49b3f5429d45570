#include "tests/support/output_pump.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

// How long the thread sleeps in poll before it looks at its requests again.
constexpr int ROUND_MS = 10;

void make_non_blocking(int descriptor)
{
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) | O_NONBLOCK);
}

} // namespace

OutputPump::OutputPump(int output, int error, int terminal, int input, std::string input_bytes)
    : input_(input), input_bytes_(std::move(input_bytes))
{
    const int descriptors[] = {output, error, terminal};
    for (std::size_t index = 0; index < sources_.size(); ++index) {
        sources_[index].descriptor = descriptors[index];
        sources_[index].ended = descriptors[index] < 0;
        if (descriptors[index] >= 0)
            make_non_blocking(descriptors[index]);
    }
    if (input_ >= 0) {
        make_non_blocking(input_);
        feeding_input_ = true;
    }
    thread_ = std::thread(&OutputPump::run, this);
}

OutputPump::~OutputPump()
{
    stopping_ = true;
    thread_.join();
    for (const Source& source : sources_) {
        if (source.descriptor >= 0)
            close(source.descriptor);
    }
    if (input_ >= 0)
        close(input_);
}

std::string OutputPump::text(Stream stream) const
{
    std::lock_guard lock(mutex_);
    return sources_[static_cast<std::size_t>(stream)].text;
}

void OutputPump::collect_now()
{
    std::lock_guard lock(mutex_);
    for (Source& source : sources_)
        collect_from(source);
}

bool OutputPump::wait_for_end_of_output(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_until(lock, deadline, [this] {
        return sources_[static_cast<std::size_t>(Stream::output)].ended &&
               sources_[static_cast<std::size_t>(Stream::error)].ended;
    });
}

void OutputPump::close_terminal()
{
    std::unique_lock lock(mutex_);
    terminal_close_requested_ = true;
    // The thread may be polling the descriptor; only it may close it.
    changed_.wait(lock, [this] { return sources_[static_cast<std::size_t>(Stream::terminal)].descriptor < 0; });
}

// Called with the mutex held.
void OutputPump::collect_from(Source& source)
{
    char buffer[4096];
    while (!source.ended) {
        const ssize_t count = read(source.descriptor, buffer, sizeof buffer);
        if (count > 0) {
            source.text.append(buffer, static_cast<std::size_t>(count));
        } else if (count < 0 && (errno == EAGAIN || errno == EINTR)) {
            return;
        } else {
            source.ended = true;
            changed_.notify_all();
        }
    }
}

void OutputPump::feed_input()
{
    while (input_written_ < input_bytes_.size()) {
        const ssize_t count = write(input_, input_bytes_.data() + input_written_, input_bytes_.size() - input_written_);
        if (count < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (count < 0)
            break; // the child is gone or closed its end
        input_written_ += static_cast<std::size_t>(count);
    }
    close(input_);
    input_ = -1;
    feeding_input_ = false;
}

void OutputPump::run()
{
    while (!stopping_) {
        {
            std::lock_guard lock(mutex_);
            Source& terminal = sources_[static_cast<std::size_t>(Stream::terminal)];
            if (terminal_close_requested_ && terminal.descriptor >= 0) {
                collect_from(terminal);
                close(terminal.descriptor);
                terminal.descriptor = -1;
                terminal.ended = true;
                changed_.notify_all();
            }
        }

        std::vector<pollfd> waiting;
        for (const Source& source : sources_) {
            if (!source.ended)
                waiting.push_back({source.descriptor, POLLIN, 0});
        }
        if (input_ >= 0)
            waiting.push_back({input_, POLLOUT, 0});
        poll(waiting.data(), waiting.size(), ROUND_MS);

        if (input_ >= 0)
            feed_input();
        collect_now();
    }
}
