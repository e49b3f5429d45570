#include "check/run_check.h"
#include "platform/platform.h"

int main(int argc, char** argv)
{
    platform::prepare_process();
    platform::end_orderly(run_check(argc, argv));
}
