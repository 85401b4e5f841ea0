#include "MainWindow.h"

namespace corvanta::app {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Corvanta "));
}

} // namespace corvanta::app
