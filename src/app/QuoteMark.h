#pragma once

#include <QString>
#include <QStringList>

namespace corvanta::app {

// Whose quote the main window's quote fields hold, and from when.
struct QuotedStock {
    QString code;  // the code the quote was fetched for; empty before any quote
    QString stamp; // the record's date and time ("2022-11-11 15:00:00"), or empty
};

// The quote of `code` among a reply's record lines.
QuotedStock quotedStock(const QString& code, const QStringList& records);

// The mark beside the quote fields: "行情 15:00:00" (the full stamp as its hint)
// while they hold the shown stock's quote; "600000的行情" in red once another stock
// is shown and until its own quote comes; nothing before any quote.
struct QuoteMarkText {
    QString text;
    QString hint;
    bool otherStock = false;
};
QuoteMarkText quoteMark(const QuotedStock& quoted, const QString& shownCode);

} // namespace corvanta::app
