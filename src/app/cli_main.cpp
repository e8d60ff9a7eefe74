#include "app/cli/Cli.h"
#include "core/InterruptCleanup.h"

#include <iostream>

int main(int argc, char** argv)
{
    // Before anything else starts a thread: an interrupted run removes its temporary
    // files and folders, then ends by the signal.
    InstallInterruptCleanup();
    return RunCli(argc, argv, std::cout, std::cerr);
}
