// The least any writer of this kind can cost: one zeroed 1,000,000-byte
// buffer handed to write(2) again and again until the file has its size.
// With "progress" it also shows a running total after every write, one
// line rewritten in place as filegen's, to tell what that line costs.
// Usage: write_floor FILE BYTES [progress]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4 || (argc == 4 && std::strcmp(argv[3], "progress") != 0)) {
        std::fprintf(stderr, "usage: %s FILE BYTES [progress]\n", argv[0]);
        return 2;
    }
    const bool progress = argc == 4;
    constexpr std::size_t SECTION = 1000000;
    const unsigned long long size = std::strtoull(argv[2], nullptr, 10);

    // Zeroed by writing to it, so its pages are resident like those of a
    // buffer a program has filled (fresh pages left untouched would all read
    // from the one shared zero page).
    const std::vector<char> buffer(SECTION);

    const int file = open(argv[1], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file < 0) {
        std::perror(argv[1]);
        return 1;
    }
    for (unsigned long long written = 0; written < size;) {
        const std::size_t length = size - written < SECTION ? size - written : SECTION;
        const ssize_t count = write(file, buffer.data(), length);
        if (count <= 0) {
            std::perror("write");
            return 1;
        }
        written += static_cast<unsigned long long>(count);
        if (progress) {
            std::printf("\rwrote %12llu", written);
            std::fflush(stdout);
        }
    }
    return close(file) == 0 ? 0 : 1;
}
