#pragma once

#include "StatementLayout.h"
#include "ledger/StatementTrade.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

namespace corvanta::exchange {

struct StatementLine {
    int number = 0; // from 1
    QString text;
};

// A line that gives no trade, and why.
struct LineIssue {
    int line = 0;
    QString reason;
};

// A stock the statement names, added to the stock table when the table lacks
// this code and name together.
struct StockAddition {
    QString code;
    QString name;
    QString pinyin; // at most 8 characters, as the table holds
};

// A statement read with one layout: nothing here has touched the ledger.
struct ParsedStatement {
    int headerLine = 0;                   // the last header line; 0 when there is none
    QList<StatementLine> dataLines;       // the lines after the header, for the user to see
    QList<ledger::StatementTrade> trades; // in file order
    QList<StockAddition> stocks;          // in order of first appearance
    QList<LineIssue> skipped;             // no trade lines, left out without a word
    QList<LineIssue> refused;             // trade-like lines that do not read: tell the user
};

// A statement file's text: GBK bytes, or UTF-8 (see decodeExportText).
QString decodeStatement(const QByteArray& bytes);

// The lines of a text ending in CR LF, CR or LF; a final line end adds no line.
QList<QStringView> splitLines(QStringView text);

// A header line names the date, code and name columns.
bool isStatementHeader(QStringView line);

// The trades of a statement. The data lines are those after the last header line,
// or every line when there is none.
ParsedStatement parseStatement(QStringView text, const StatementLayout& layout);
ParsedStatement parseStatement(const QByteArray& bytes, const StatementLayout& layout);

} // namespace corvanta::exchange
