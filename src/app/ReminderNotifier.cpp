#include "ReminderNotifier.h"

#include "TrayPort.h"

#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace corvanta::app {

void ReminderNotifier::notify(const QString& title, const QString& text)
{
    if (m_tray.isAvailable()) {
        // A balloon needs a visible icon.
        if (!m_tray.isVisible())
            m_tray.show();
        m_tray.showMessage(title, text);
        return;
    }
    m_fallback.showMessage(title + u": "_s + text);
}

} // namespace corvanta::app
