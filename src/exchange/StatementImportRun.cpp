#include "StatementImportRun.h"

#include "ImportTexts.h"
#include "ledger/SafetyCopies.h"
#include "ledger/Settings.h"
#include "ledger/StatementDuplicates.h"
#include "ledger/sql/Database.h"

#include <QDateTime>

namespace corvanta::exchange {

StatementToImport toImport(ParsedStatement parsed, const StatementLayout& layout)
{
    std::optional<QString> refusal = nothingToImport(parsed, layout);
    return {std::move(parsed), std::move(refusal)};
}

StatementToImport toImport(const GenericStatement& statement)
{
    return {statement.parsed, nothingToImport(statement)};
}

StatementImportRun::StatementImportRun(sql::Database& db, ledger::LedgerNotifier& notifier)
    : m_db(db), m_notifier(notifier)
{
}

StatementImportRun::~StatementImportRun() = default;

StatementImportRun::Started StatementImportRun::start(const StatementToImport& statement,
                                                      ImportAnswers& answers)
{
    if (running())
        return {Start::Declined, {}};
    // A file in another broker's layout must never empty the ledger.
    if (statement.refusal)
        return {Start::Refused, *statement.refusal};

    const QList<ledger::StatementTrade>& trades = statement.parsed.trades;
    ledger::StatementImportOptions options;
    const QList<int> duplicates = ledger::duplicateLines(m_db, trades);
    // Skipping is the safe answer: a trade is never written a second time unasked.
    if (const auto question = duplicatesQuestion(listedLines(statement.parsed, duplicates)))
        options.skipDuplicates = answers.skipDuplicates(*question);
    if (!answers.proceed(trades.size(), duplicates.size()))
        return {Start::Declined, {}};
    options.replaceLedger = answers.replaceLedger();
    if (options.replaceLedger)
        options.skipDuplicates = false; // nothing is left to match
    options.otherFee = ledger::loadSettings(m_db).rates.buyOtherFee;

    // The ledger as it was stays one restore away.
    m_safetyCopy = ledger::SafetyCopies(m_db.path()).make(m_db, QDateTime::currentDateTime());
    m_import = std::make_unique<ledger::StatementImport>(m_db, trades, options);
    return {Start::Begun, {}};
}

qsizetype StatementImportRun::total() const
{
    return m_import ? m_import->total() : 0;
}

qsizetype StatementImportRun::done() const
{
    return m_import ? m_import->done() : 0;
}

bool StatementImportRun::atEnd() const
{
    return !m_import || m_import->atEnd();
}

void StatementImportRun::applyNext(qsizetype lines)
{
    if (m_import)
        m_import->applyNext(lines);
}

ledger::StatementImportOutcome StatementImportRun::finish()
{
    if (!m_import)
        return {};
    const ledger::StatementImportOutcome outcome = m_import->finish();
    m_import.reset();
    if (outcome.committed)
        m_notifier.announce(ledger::LedgerChange::Trades | ledger::LedgerChange::Stocks);
    else // an older copy stays among the ones kept
        ledger::SafetyCopies(m_db.path()).drop(m_safetyCopy);
    return outcome;
}

} // namespace corvanta::exchange
