#pragma once

#include "LedgerChanges.h"
#include "LedgerRestore.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// The questions of a restore, answered by whoever drives it: the backup window
// with a message box and a password dialog, the command line with --yes and the
// terminal.
class RestoreAnswers {
public:
    virtual ~RestoreAnswers() = default;
    // Replace every trade and the stock table with the backup's?
    virtual bool confirm() = 0;
    // The backup did not open with the ledger's key: asks for the password it
    // was made under and hands each one given to `tryPassword`, until that
    // returns no problem or the asking ends. A problem is to be shown before
    // asking again.
    virtual void
    askBackupPassword(const QString& backup,
                      const std::function<QString(const QByteArray&)>& tryPassword) = 0;
};

// One restore from start to end, the same for every caller: confirm, open and
// check the backup (asking for its password when it was made under another),
// keep a safety copy, replace the tables in one transaction (in slices, so a
// window can show progress), drop the copy of a restore that failed, and
// announce a committed one.
class RestoreRun {
public:
    RestoreRun(sql::Database& db, LedgerNotifier& notifier);
    ~RestoreRun();
    RestoreRun(const RestoreRun&) = delete;
    RestoreRun& operator=(const RestoreRun&) = delete;

    enum class Start {
        Begun,
        Declined,     // not confirmed
        NoPassword,   // the backup's password was not given, or not the right one
        NoSafetyCopy, // the ledger could not be copied first
    };
    struct Started {
        Start start = Start::Declined;
        QString why; // the reason, in the user's words, unless begun or declined
    };
    // Throws BackupError when the file is no backup or its rows break the
    // ledger's rules: the ledger is untouched then.
    Started start(const QString& backup, RestoreAnswers& answers);

    bool running() const { return m_restore != nullptr; }
    QString safetyCopy() const { return m_safetyCopy; }
    // The backup's rows, from the start on.
    qsizetype tradeCount() const { return m_trades; }
    qsizetype stockCount() const { return m_stocks; }
    RestoreProgress progress() const;
    bool atEnd() const;
    // Copies up to `rows` more rows. On sql::Error everything is rolled back, the
    // safety copy dropped and the error passed on.
    void copyNext(qsizetype rows);
    // Copies what is left, commits and announces; a failure as for copyNext.
    void finish();

private:
    template <typename Step> void guarded(Step step);

    sql::Database& m_db;
    LedgerNotifier& m_notifier;
    std::unique_ptr<LedgerRestore> m_restore;
    QString m_safetyCopy;
    RestoreProgress m_last;
    qsizetype m_trades = 0;
    qsizetype m_stocks = 0;
};

} // namespace corvanta::ledger
