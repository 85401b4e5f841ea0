#pragma once

#include "journal/Notifier.h"

class QStatusBar;

namespace corvanta::app {

class TrayPort;

// Tells a journal reminder as a balloon beside the tray icon, or, on a desktop
// without a tray, in the main window's status bar, so it is never lost.
class ReminderNotifier : public journal::Notifier {
public:
    ReminderNotifier(TrayPort& tray, QStatusBar& fallback) : m_tray(tray), m_fallback(fallback) {}

    void notify(const QString& title, const QString& text) override;

private:
    TrayPort& m_tray;
    QStatusBar& m_fallback;
};

} // namespace corvanta::app
