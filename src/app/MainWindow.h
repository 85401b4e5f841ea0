#pragma once

#include <QMainWindow>

namespace corvanta::app {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace corvanta::app
