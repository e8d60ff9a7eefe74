#include "ui/DesktopProgram.h"

#include <QApplication>

int RunDesktopProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    return 0;
}
