#include "util/alloc_or_abort.h"

#include <cstdio>
#include <cstdlib>

#include "run/abort_run.h"

void* alloc_or_abort(std::size_t count)
{
    void* block = std::malloc(count * 4);
    if (block == nullptr) {
        std::fprintf(stderr, "\n%s\n%d\nnot enough memory for buffer\n", __FILE__, __LINE__);
        abort_run(7);
    }
    return block;
}
