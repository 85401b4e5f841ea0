#include "StatementImport.h"

#include "ErrorWords.h"
#include "Schema.h"
#include "StatementDuplicates.h"
#include "StockTable.h"
#include "TradeLedger.h"
#include "sql/Database.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

QString stockKey(const QString& code, const QString& name)
{
    return code + u'\t' + name;
}

} // namespace

StatementImport::StatementImport(sql::Database& db, QList<StatementTrade> trades,
                                 StatementImportOptions options)
    : m_db(db), m_trades(std::move(trades)), m_options(options)
{
}

void StatementImport::fail(int line, const QString& error)
{
    m_writer.reset();
    m_transaction.reset(); // rolls back
    m_outcome.stoppedAtLine = line;
    m_outcome.error = error;
    m_outcome.tradesWritten = 0;
    m_outcome.stocksAdded = 0;
}

// A full disk or a file that cannot be written is no fault of the line being
// written: the reason is told without it.
void StatementImport::fail(int line, const sql::Error& error)
{
    fail(isFileError(error) ? 0 : line, errorInWords(error));
    m_outcome.errorKind = error.kind();
}

bool StatementImport::begin()
{
    if (m_transaction || failed() || m_finished)
        return m_transaction.has_value();
    try {
        m_transaction.emplace(m_db);
        if (m_options.replaceLedger)
            m_db.exec("DELETE FROM gpjl");
        if (m_options.skipDuplicates) {
            m_outcome.duplicatesSkipped = duplicateLines(m_db, m_trades);
            m_skippedLines =
                QSet<int>(m_outcome.duplicatesSkipped.cbegin(), m_outcome.duplicatesSkipped.cend());
        }
        auto stocks = m_db.prepare("SELECT gpid,gpmc FROM gpmc");
        while (stocks.step())
            m_knownStocks.insert(stockKey(stocks.text(0), stocks.text(1)));
        m_writer.emplace(m_db);
    } catch (const sql::Error& error) {
        fail(0, error);
    }
    return !failed();
}

// A stock is known by its code and name together: a renamed stock gets a second row.
void StatementImport::applyTrade(const StatementTrade& trade)
{
    if (trade.addsStock) {
        const QString key = stockKey(trade.code, trade.name);
        if (!m_knownStocks.contains(key)) {
            StockTable(m_db).addStock(trade.code, trade.name, trade.pinyin);
            m_knownStocks.insert(key);
            ++m_outcome.stocksAdded;
        }
    }
    m_writer->record(trade, m_options.otherFee);
    ++m_outcome.tradesWritten;
}

bool StatementImport::applyNext(qsizetype count)
{
    if (!begin())
        return false;
    for (; count > 0 && m_next < m_trades.size(); --count, ++m_next) {
        const StatementTrade& trade = m_trades.at(m_next);
        if (m_skippedLines.contains(trade.line))
            continue;
        try {
            applyTrade(trade);
        } catch (const sql::Error& error) {
            fail(trade.line, error);
            return false;
        } catch (const std::invalid_argument&) {
            // The stock table refuses codes that name its settings rows.
            fail(trade.line, u"证券代码无效: "_s + trade.code);
            return false;
        }
    }
    return true;
}

StatementImportOutcome StatementImport::finish()
{
    while (!atEnd())
        applyNext(m_trades.size());
    if (!begin()) { // an empty statement still empties the ledger when asked
        m_finished = true;
        return m_outcome;
    }
    if (!failed()) {
        m_writer.reset();
        try {
            // The writer keeps positions as bought − sold; a stock's events add
            // their new shares, as far as the imported trades entitle it to them.
            if (hasEventTable(m_db)) {
                QStringList names;
                auto withEvents = m_db.prepare("SELECT DISTINCT 股票名 FROM fhsp");
                while (withEvents.step())
                    names << withEvents.text(0);
                TradeLedger(m_db).rederiveOpenPositions(names);
            }
            m_transaction->commit();
            m_outcome.committed = true;
        } catch (const sql::Error& error) {
            fail(0, error);
        }
    }
    m_transaction.reset();
    m_finished = true;
    return m_outcome;
}

StatementImportOutcome applyStatement(sql::Database& db, QList<StatementTrade> trades,
                                      const StatementImportOptions& options)
{
    StatementImport import(db, std::move(trades), options);
    return import.finish();
}

} // namespace corvanta::ledger
