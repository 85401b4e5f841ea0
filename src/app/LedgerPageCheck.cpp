#include "LedgerPageCheck.h"

#include "ledger/LedgerFile.h"
#include "ledger/sql/Database.h"
#include "windows/Prompter.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace corvanta::app {

LedgerPageCheck::LedgerPageCheck(sql::Database& db, const QString& path,
                                 windows::Prompter& prompter, QObject* parent)
    : QObject(parent), m_db(db), m_path(path), m_prompter(prompter)
{
}

void LedgerPageCheck::runOnceExposed(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    if (handle && handle->isExposed()) {
        QTimer::singleShot(0, this, &LedgerPageCheck::run);
        return;
    }
    // The platform window exists once the window has been shown.
    if (handle)
        handle->installEventFilter(this);
    else
        window.installEventFilter(this);
}

bool LedgerPageCheck::eventFilter(QObject* watched, QEvent* event)
{
    const auto* window = qobject_cast<QWindow*>(watched);
    const bool exposed = window ? event->type() == QEvent::Expose && window->isExposed()
                                : event->type() == QEvent::Show;
    if (exposed && !m_started) {
        m_started = true;
        watched->removeEventFilter(this);
        // After the exposure has been painted.
        QTimer::singleShot(0, this, &LedgerPageCheck::run);
    }
    return QObject::eventFilter(watched, event);
}

void LedgerPageCheck::run()
{
    m_started = true;
    try {
        ledger::checkLedgerPages(m_db, m_path);
    } catch (const ledger::LedgerOpenError& error) {
        m_failed = true;
        m_prompter.inform(error.message());
        Q_EMIT ledgerDamaged();
    }
}

} // namespace corvanta::app
