#include "app/Program.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const auto program = corvanta::app::Program::start();
    if (!program)
        return 1;
    program->show();
    return application.exec();
}
