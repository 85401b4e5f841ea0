#pragma once

#include <QString>

namespace corvanta::journal {

// Where reminders are told to the user: the tray's balloon message, or the main
// window's status bar where there is no tray. Tests record them.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void notify(const QString& title, const QString& text) = 0;
};

} // namespace corvanta::journal
