#pragma once

#include "AccountSeries.h"
#include "LedgerTotals.h"
#include "ScratchTables.h"
#include "StockCompletion.h"
#include "SummaryRow.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::report {

// The summary grid's column titles and initial widths in pixels.
std::array<QString, SummaryColumnCount> summaryColumnTitles();
std::array<int, SummaryColumnCount> initialColumnWidths();

// Everything the summary grid and the totals report show after a summary.
struct Summary {
    bool ledgerEmpty = true; // nothing to summarise: keep showing the ledger
    bool quoted = false;
    LedgerTotals totals;
    QList<SummaryRow> stocks; // in the order of tmpdb3
    SummaryRow totalsRow;
    // The column titles; the return column's names how the holdings are valued.
    std::array<QString, SummaryColumnCount> titles = summaryColumnTitles();
    // Columns 1 onwards fit their widest text (6 pixels a GBK byte, plus 6);
    // column 0 keeps its width.
    std::array<int, SummaryColumnCount> columnWidths = initialColumnWidths();
    QString hint;    // the grid's hint; only a quoted summary sets one
    QString caption; // the frame caption once done
};

// The whole ledger, in the quoted mode with prices fetched for the ledger's
// stocks and the selling side's fee inputs.
// `heldAtMarket`, for a plain summary, are the market values of the last quoted
// summary when the trades have not changed since: the returns value the shares
// still held at them. `today` dates the value held (invalid: the current date).
struct SummaryRequest {
    std::optional<QuotedPricing> quotes;
    std::optional<QuotedValues> heldAtMarket;
    QDate today;
};

// Summarises the ledger: the capital flow, then, in one transaction, the
// scratch tables and each stock's completion written back to tmpdb3, and the
// money-weighted returns. A failure throws and leaves the scratch tables as they
// were.
Summary buildSummary(sql::Database& db, const SummaryRequest& request = {});

// The pure part: completes the stocks, adds up the totals row, sizes the
// columns and words the hint. `stored` receives the figures for tmpdb3.
Summary summarise(const QList<StockFigures>& stocks, LedgerTotals totals,
                  const QuotedPricing* pricing, QList<StoredFigures>* stored = nullptr);

// The codes a quoted summary fetches, once each, in the order of the ledger's
// stock names.
QStringList ledgerQuoteCodes(sql::Database& db);

} // namespace corvanta::report
