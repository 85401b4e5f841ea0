#include "RestoreRun.h"

#include "LedgerBackup.h"
#include "LedgerFile.h"
#include "SafetyCopies.h"
#include "sql/Database.h"

#include <QDateTime>

#include <optional>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

RestoreRun::RestoreRun(sql::Database& db, LedgerNotifier& notifier) : m_db(db), m_notifier(notifier)
{
}

RestoreRun::~RestoreRun() = default;

RestoreRun::Started RestoreRun::start(const QString& backup, RestoreAnswers& answers)
{
    if (running() || !answers.confirm())
        return {Start::Declined, {}};

    QString why;
    try {
        m_restore = std::make_unique<LedgerRestore>(m_db, backup);
    } catch (const BackupError& error) {
        if (!error.keyRefused())
            throw;
        why = error.message();
    }
    if (!m_restore) {
        std::optional<BackupError> failure;
        answers.askBackupPassword(backup, [&](const QByteArray& password) -> QString {
            try {
                m_restore = std::make_unique<LedgerRestore>(m_db, backup, password);
            } catch (const BackupError& error) {
                if (error.keyRefused()) {
                    why = wrongPasswordText() + error.message();
                    return wrongPasswordText() + u"请重新输入。"_s;
                }
                failure.emplace(error);
            }
            return QString();
        });
        if (failure)
            throw *failure;
        if (!m_restore)
            return {Start::NoPassword, why};
    }

    try {
        // The ledger as it was stays one restore away.
        m_safetyCopy = SafetyCopies(m_db.path()).make(m_db, QDateTime::currentDateTime());
    } catch (const BackupError& error) {
        m_restore.reset();
        return {Start::NoSafetyCopy, error.message()};
    }
    m_last = m_restore->progress();
    m_trades = m_restore->tradeCount();
    m_stocks = m_restore->stockCount();
    return {Start::Begun, {}};
}

RestoreProgress RestoreRun::progress() const
{
    return m_restore ? m_restore->progress() : m_last;
}

bool RestoreRun::atEnd() const
{
    return !m_restore || m_restore->atEnd();
}

template <typename Step> void RestoreRun::guarded(Step step)
{
    if (!m_restore)
        return;
    try {
        step(*m_restore);
        m_last = m_restore->progress();
    } catch (const sql::Error&) {
        m_restore.reset(); // rolled back
        SafetyCopies(m_db.path()).drop(m_safetyCopy);
        throw;
    }
}

void RestoreRun::copyNext(qsizetype rows)
{
    guarded([rows](LedgerRestore& restore) { restore.copyNext(rows); });
}

void RestoreRun::finish()
{
    guarded([](LedgerRestore& restore) { restore.finish(); });
    if (!m_restore)
        return;
    m_restore.reset();
    // Settings rows and monitor marks come with the restored tables.
    m_notifier.announce(LedgerChange::Trades | LedgerChange::Stocks | LedgerChange::Events |
                        LedgerChange::Settings | LedgerChange::MonitorList |
                        LedgerChange::TickerLines);
}

} // namespace corvanta::ledger
