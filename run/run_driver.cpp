#include "run/run_driver.h"

#include <cstdio>
#include <cstring>

#include "dialogue/confirmation.h"
#include "dialogue/fill_selection.h"
#include "dialogue/output_file.h"
#include "dialogue/size_negotiation.h"
#include "generate/write_loop.h"
#include "platform/platform.h"
#include "run/abort_run.h"
#include "run/run_state.h"

void show_usage()
{
    platform::clear_screen();
    std::printf("\n\nThis program is a simple file generator designed to create files that can\n");
    std::printf("be used as sample data files. It is primarily designed to create very large\n");
    std::printf("(on the order of multimegabyte) files on large hard drives.\n\n");
    std::printf("For large files it writes the data in 1,000,000 byte increments.\n\n");
    std::printf("At the beginning of every increment it places a string of characters\n");
    std::printf("indicating where in the file you are. \n\n");
    std::printf("These sections are identified by the section number, and the section size\n");
    std::printf("i.e. section 2 would read \"     2 X 1000000\" with leading blanks.\n\n");
    std::printf("The above represents the beginning of the second 1,000,000 byte section\n");
    std::printf("which is actually byte 2,000,000\n\n");
    std::printf("The rest of the data is fill characters. The fill characters are either hex 0's\n");
    std::printf("or user selected options. So when reviewing the contents of the file at a later\n");
    std::printf("time you can see what section you are at.\n");
    platform::end_at_once(1);
}

static bool asks_for_usage(const char* argument)
{
    return argument[0] == '-' || std::strchr(argument, '?') != nullptr;
}

void run_program(int argc, char** argv)
{
    if (argc >= 2 && asks_for_usage(argv[1]))
        show_usage();

    platform::hook_interrupt(abort_run);
    platform::discard_input();

    select_output_file(argc, argv);
    create_output_file(run_state.output_path);
    negotiate_size();
    select_fill();
    confirm_choices();
    write_file();
}
