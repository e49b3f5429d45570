#include "tests/support/written_files.h"

#include <chrono>
#include <vector>

#include "tests/support/fill_dialogue.h"
#include "tests/support/terminal_session.h"

namespace {

// Long enough for the largest file a test writes, under the sanitizers too.
constexpr std::chrono::seconds WRITING_LIMIT{60};

std::string yes_or_no(bool yes)
{
    return yes ? "Y" : "N";
}

// The answers from the fill menu's key to the summary's.
std::vector<std::string> fill_answers(const FillChoice& choice)
{
    switch (choice.kind) {
    case FillKind::alphabet:
        if (choice.letter_period == 0)
            return {"2", "N", "Y"};
        return {"2", "Y", std::to_string(choice.letter_period) + "\r", "Y"};
    case FillKind::character:
        return {"3", std::to_string(choice.byte) + "\r", "Y", yes_or_no(!choice.checkpoints), "Y"};
    default:
        return {"1", yes_or_no(!choice.checkpoints), "Y"};
    }
}

std::string name_for(std::uint64_t size, const FillChoice& choice)
{
    std::string name = std::to_string(size);
    switch (choice.kind) {
    case FillKind::alphabet:
        name += "-alphabet-" + std::to_string(choice.letter_period);
        break;
    case FillKind::character:
        name += "-char-" + std::to_string(choice.byte);
        break;
    default:
        name += "-zero";
        break;
    }
    return name + (choice.checkpoints ? "" : "-bare") + ".dat";
}

} // namespace

bool write_with_filegen(const TemporaryDirectory& directory, const std::string& name, std::uint64_t size,
                        const FillChoice& choice)
{
    Launch launch;
    launch.arguments = {name};
    launch.directory = directory.path().string();
    TerminalSession session(launch);
    if (!answer_size(session, size) || !answer(session, fill_answers(choice)))
        return false;
    const ExitStatus status = session.wait_for_exit(WRITING_LIMIT);
    if (status != ExitStatus::exited(0)) {
        ADD_FAILURE() << "filegen writing " << name << " " << status << "\nstderr:\n" << session.error_output();
        return false;
    }
    return true;
}

std::string WrittenFiles::path_of(std::uint64_t size, const FillChoice& choice)
{
    const std::string name = name_for(size, choice);
    const auto known = written_.find(name);
    if (known != written_.end())
        return known->second;
    if (!write_with_filegen(directory_, name, size, choice))
        return "";
    return written_[name] = directory_.file(name);
}
