#pragma once

#include "TextPrinting.h"
#include "journal/Journal.h"
#include "journal/JournalSchema.h"
#include "ledger/LedgerChanges.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

#include <gtest/gtest.h>

#include <QList>
#include <QString>

#include <ostream>

namespace corvanta::journal::testing {

// The main window's fields for a stock.
inline NoteDraft draft(const QString& code, const QString& name, const QString& text = {})
{
    return {code,
            name,
            QStringLiteral("10.50"),
            QStringLiteral("10.20"),
            QStringLiteral("10.10"),
            QStringLiteral("1200"),
            QStringLiteral("800"),
            text};
}

// Counts the announcements and what they named.
struct AnnouncementLog {
    explicit AnnouncementLog(ledger::LedgerNotifier& notifier)
    {
        QObject::connect(&notifier, &ledger::LedgerNotifier::changed,
                         [this](ledger::LedgerChanges what) { changes.append(what); });
    }
    QList<ledger::LedgerChanges> changes;
};

// An in-memory ledger with the three tables and the journal's reminders.
class JournalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ledger::ensureSchema(db, {});
        upgradeJournalSchema(db);
    }

    qint64 added(const NoteDraft& note, QDate today = QDate(2026, 12, 10))
    {
        const WriteOutcome outcome = journal.add(note, today, notifier);
        EXPECT_TRUE(outcome.written()) << outcome.refusal.toStdString();
        return outcome.id;
    }
    qint64 count(const char* sql) { return db.scalarInt(sql); }

    sql::Database db = sql::Database::openInMemory();
    ledger::LedgerNotifier notifier;
    AnnouncementLog log{notifier};
    Journal journal{db};
};

} // namespace corvanta::journal::testing
