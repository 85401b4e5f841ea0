#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// Automatic backups of the ledger, kept in a `backups` folder beside the ledger
// file as "gpmc-yyyyMMdd-HHmmss.mdb" ("gpmc-yyyyMMdd-HHmmss-2.mdb" and so on for
// further copies in the same second). Only the newest `kept` remain.
class SafetyCopies {
public:
    static constexpr int kept = 10;

    explicit SafetyCopies(const QString& ledgerPath);

    QString folder() const { return m_folder; }
    // The copies present, oldest first.
    QStringList copies() const;
    // True when no copy has been made on that day.
    bool dueOn(const QDate& day) const;

    // Backs the ledger up now, under a name no other copy has, and drops the
    // oldest copies beyond `kept`. Returns the new copy's path; throws BackupError.
    QString make(sql::Database& ledger, const QDateTime& now) const;
    // Removes a copy made for an operation that then changed nothing, so that it
    // does not push an older copy out.
    void drop(const QString& copy) const;
    // Removes the hidden parts of copies that were cut off (by a kill or a power
    // cut) while being written.
    void removeLeftovers() const;

private:
    QString m_folder;
};

} // namespace corvanta::ledger
