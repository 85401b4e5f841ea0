#pragma once

#include "sql/Statement.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// Where a restore stands, as the backup window shows it.
struct RestoreProgress {
    int maximum = 0; // rows of the table being copied
    int value = 0;   // rows of it copied so far
    QString status;  // the status line
};

// Replaces gpjl and gpmc of the ledger with those of a backup: the trades in the
// order of their dates then old ids, the stock table (with its settings rows) by
// code; the rows get new ids, and dxgp is left alone.
//
// The constructor opens and checks the backup and reads its rows; a file that
// is no backup, or whose rows break the rules of the ledger (text in a number
// column, a trade no recording would write, open positions that contradict the
// trades), throws BackupError before the ledger is touched. The copying can
// then be done in slices (`copyNext`) between which the caller's event loop runs.
// One transaction spans every slice up to `finish`; destroying an unfinished
// restore, or a failure, rolls everything back.
class LedgerRestore {
public:
    // `backupKey` opens a backup made under another password; by default the
    // backup is opened with the ledger's own key.
    LedgerRestore(sql::Database& ledger, const QString& backupPath,
                  const QByteArray& backupKey = {});
    LedgerRestore(const LedgerRestore&) = delete;
    LedgerRestore& operator=(const LedgerRestore&) = delete;

    qsizetype tradeCount() const { return m_trades.size(); }
    qsizetype stockCount() const { return m_stocks.size(); }
    bool atEnd() const;
    RestoreProgress progress() const { return m_progress; }

    // Copies up to `count` more rows. Throws sql::Error after rolling back.
    void copyNext(qsizetype count);
    // Copies what is left and commits.
    void finish();

private:
    void begin();

    sql::Database& m_ledger;
    QList<QStringList> m_trades; // null values as null strings
    QList<QStringList> m_stocks;
    QList<QStringList> m_events; // the backup's fhsp rows, none when it has no such table
    std::optional<sql::Transaction> m_transaction;
    qsizetype m_nextTrade = 0;
    qsizetype m_nextStock = 0;
    bool m_finished = false;
    RestoreProgress m_progress;
};

// The final status line of a restore.
QString restoreDoneStatus();

} // namespace corvanta::ledger
