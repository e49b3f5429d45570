#include "tests/support/process_probe.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/syscall.h>

namespace {

std::string read_file(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string main_thread_file(pid_t pid, const char* name)
{
    const std::string id = std::to_string(pid);
    return read_file("/proc/" + id + "/task/" + id + "/" + name);
}

// The state letter from the stat line; the name before it is in
// parentheses and may hold anything, so look after the last one.
char main_thread_state(pid_t pid)
{
    const std::string stat = main_thread_file(pid, "stat");
    const auto name_end = stat.rfind(')');
    if (name_end == std::string::npos || name_end + 2 >= stat.size())
        return '?';
    return stat[name_end + 2];
}

struct SystemCall {
    long number = -1;
    std::array<std::uint64_t, 6> arguments{};
};

// The syscall file holds the number and six arguments in hex while the
// thread is inside a system call, "running" or "-1 ..." otherwise.
std::optional<SystemCall> current_system_call(pid_t pid)
{
    std::istringstream fields(main_thread_file(pid, "syscall"));
    SystemCall call;
    if (!(fields >> call.number) || call.number < 0)
        return std::nullopt;
    for (auto& argument : call.arguments)
        fields >> std::hex >> argument;
    return call;
}

bool waits_without_limit(const SystemCall& call)
{
    switch (call.number) {
    case SYS_read:
        return true;
    case SYS_poll:
        return static_cast<std::int32_t>(call.arguments[2]) < 0;
    case SYS_ppoll:
        return call.arguments[2] == 0;
    case SYS_select:
    case SYS_pselect6:
        return call.arguments[4] == 0;
    default:
        return false;
    }
}

} // namespace

bool waits_for_input(pid_t pid)
{
    if (main_thread_state(pid) != 'S')
        return false;
    const auto call = current_system_call(pid);
    return call && waits_without_limit(*call) && main_thread_state(pid) == 'S';
}

std::optional<long> voluntary_switches(pid_t pid)
{
    std::istringstream status(main_thread_file(pid, "status"));
    const std::string key = "voluntary_ctxt_switches:";
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(key))
            return std::stol(line.substr(key.size()));
    }
    return std::nullopt;
}

std::string describe_main_thread(pid_t pid)
{
    std::string call = main_thread_file(pid, "syscall");
    if (!call.empty() && call.back() == '\n')
        call.pop_back();
    return std::string("state ") + main_thread_state(pid) + ", syscall " + call;
}

std::vector<int> descriptors_open_on(pid_t pid, const std::string& path)
{
    std::vector<int> descriptors;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        if (std::filesystem::read_symlink(entry.path(), error) == path)
            descriptors.push_back(std::stoi(entry.path().filename().string()));
    }
    std::sort(descriptors.begin(), descriptors.end());
    return descriptors;
}
