#include "ui/DesktopProgram.h"

int main(int argc, char** argv)
{
    return RunDesktopProgram(argc, argv);
}
