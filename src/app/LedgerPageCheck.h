#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace corvanta::sql {
class Database;
}
namespace corvanta::windows {
class Prompter;
}

namespace corvanta::app {

// The full read of the ledger's pages that a window start leaves until its main
// window has been exposed: a large ledger shows without waiting for it. It runs
// once, as a job of the event loop. A damaged page is told with the sentence a
// refused start gives, and the program is asked to end.
class LedgerPageCheck : public QObject {
    Q_OBJECT
public:
    LedgerPageCheck(sql::Database& db, const QString& path, windows::Prompter& prompter,
                    QObject* parent = nullptr);

    // Runs the check once `window` has first been exposed.
    void runOnceExposed(QWidget& window);
    // Whether the check found the ledger damaged.
    bool failed() const { return m_failed; }

Q_SIGNALS:
    // The ledger cannot be used: the program should end.
    void ledgerDamaged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run();

    sql::Database& m_db;
    QString m_path;
    windows::Prompter& m_prompter;
    bool m_started = false;
    bool m_failed = false;
};

} // namespace corvanta::app
