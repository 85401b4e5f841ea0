#pragma once

#include "windows/Prompter.h"

#include <QApplication>

namespace corvanta::app {

// The program's application object and its last line of defence: an exception
// that escapes an event handler or a slot would end the program, so here the user
// gets the database-failure message (or the reason) and the event loop goes on.
// Every database call reached from a slot is guarded before it gets this far
// (windows::withLedger).
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    // The running program's prompter, or none (message boxes then).
    void setPrompter(windows::Prompter* prompter);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    windows::Prompter& prompter();

    windows::Prompter* m_prompter = nullptr;
    windows::MessageBoxPrompter m_boxes;
};

// The application object when it is the program's own, else none.
Application* application();

} // namespace corvanta::app
