#include "platform/platform.h"
#include "run/run_driver.h"

int main(int argc, char** argv)
{
    platform::prepare_process();
    run_program(argc, argv);
    platform::end_orderly(0);
}
