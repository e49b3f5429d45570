#include "check/run_check.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "check/check_options.h"
#include "check/file_reading.h"
#include "check/inference.h"
#include "check/report.h"
#include "check/verify.h"
#include "platform/platform.h"

namespace {

constexpr int INTACT = 0;
constexpr int DAMAGED = 1;
constexpr int TROUBLE = 2;

int fail(const char* format, const char* a, const char* b = "")
{
    std::fflush(stdout);
    std::fprintf(stderr, "filegen-check: ");
    std::fprintf(stderr, format, a, b);
    std::fprintf(stderr, "\n");
    return TROUBLE;
}

// The first bytes of the open file, for the inference, after which the
// file is back at its start; false when they cannot be read.
bool read_head(FileHandle file, std::uint64_t file_size, std::vector<unsigned char>& head)
{
    head.resize(static_cast<std::size_t>(std::min<std::uint64_t>(file_size, INFERENCE_HEAD_BYTES)));
    std::uint32_t got = 0;
    if (!read_fully(file, head.data(), static_cast<std::uint32_t>(head.size()), got))
        return false;
    head.resize(got);
    return platform::rewind_file(file);
}

} // namespace

int run_check(int argc, char** argv)
{
    CheckRequest request;
    const char* error = nullptr;
    if (!parse_check_options(argc, argv, request, error)) {
        fail("%s", error);
        std::fprintf(stderr, "Try 'filegen-check --help'.\n");
        return TROUBLE;
    }
    if (request.help) {
        std::fputs(CHECK_USAGE, stdout);
        return INTACT;
    }

    std::uint64_t file_size = 0;
    const FileHandle file = platform::open_file_for_reading(request.path, file_size);
    if (file == INVALID_HANDLE_VALUE)
        return fail("cannot open %s: %s", request.path, platform::read_failure());

    std::vector<unsigned char> head;
    if (!read_head(file, file_size, head)) {
        platform::close_file(file);
        return fail("cannot read %s: %s", request.path, platform::read_failure());
    }
    const Inference inference = infer_layout(head.data(), head.size(), file_size, request.stated);
    // The head is needed no more; the check itself holds one section.
    std::vector<unsigned char>().swap(head);
    if (!inference.recognised) {
        platform::close_file(file);
        if (request.stated.has_fill_mode && request.stated.fill_mode == FILL_ALPHABET)
            return fail("the letters of %s show no period: state it with --period%s", request.path);
        return fail("%s does not look like a file filegen writes: no fill reproduces its first bytes. "
                    "State the settings (see --help) to check it anyway.",
                    request.path);
    }

    report_file(request.path, file_size);
    report_settings(inference, request.stated, file_size);
    std::fflush(stdout);
    const VerifyResult result = verify_file(file, file_size, inference.layout, request.list_all);
    platform::close_file(file);
    if (result.out_of_memory)
        return fail("not enough memory to check %s%s", request.path);
    if (result.read_failed) {
        char offset[32];
        std::snprintf(offset, sizeof offset, "%llu", static_cast<unsigned long long>(result.failed_at));
        std::fflush(stdout);
        std::fprintf(stderr, "filegen-check: cannot read %s at offset %s: %s\n", request.path, offset,
                     platform::read_failure());
        return TROUBLE;
    }
    report_outcome(result, inference.layout, file_size);
    return result.has_difference || result.extra_bytes > 0 ? DAMAGED : INTACT;
}
