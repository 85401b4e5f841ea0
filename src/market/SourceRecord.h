#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// Helpers shared by the real sources, which turn their own layouts into the
// program's sixteen-field record line.
namespace corvanta::market {

// The record line of the parsers: code, date, time, price, lots, change, ratio,
// average, volume, turnover, active buy, active sell, previous close, open, high,
// low. A field a source does not give is "-".
struct SourceRecord {
    QString code;
    QString date = QStringLiteral("-");
    QString time = QStringLiteral("-");
    QString price = QStringLiteral("-");
    QString lots = QStringLiteral("-");
    QString change = QStringLiteral("-");
    QString changeRatio = QStringLiteral("-");
    QString averagePrice = QStringLiteral("-");
    QString volume = QStringLiteral("-");   // shares
    QString turnover = QStringLiteral("-"); // yuan
    QString activeBuy = QStringLiteral("-");
    QString activeSell = QStringLiteral("-");
    QString previousClose = QStringLiteral("-");
    QString open = QStringLiteral("-");
    QString high = QStringLiteral("-");
    QString low = QStringLiteral("-");

    // The comma-separated line; a comma inside a field is dropped, so a field can
    // never shift the ones after it.
    QString line() const;
};

// The value of a plain decimal text (no blanks, no exponent, no sign other than "-").
std::optional<double> decimalValue(QStringView text);

// A price text as shown, or "-" for a zero or a text that is not a number: a
// source sends 0 for a price there has been none of yet.
QString priceOrDash(const QString& text);

// The value with this many decimals.
QString withDecimals(double value, int decimals);

// The decimals of a number text ("6.940" has 3), at least `atLeast`.
int decimalsOf(QStringView text, int atLeast);

// Whole lots of 100 shares, or "-" when the shares are not a number.
QString lotsOfShares(std::optional<double> shares);

// Turnover over volume with three decimals; "-" without volume.
QString averageOf(std::optional<double> turnover, std::optional<double> shares);

// The text between the quotes of each `<prefix><key>="<payload>";` record whose key
// is a market prefix and six digits, in the body's order. A record cut off before
// its `";` is left out.
struct KeyedPayload {
    QString key; // "sh600000"
    QString payload;
};
QList<KeyedPayload> keyedPayloads(QStringView text, QStringView linePrefix);

// The codes as the real sources spell them ("sh600000"; an index key such as
// "sh000001" as it is), unaskable ones left out.
QStringList prefixedCodes(const QStringList& codes);

// A source's record line of a code from that code's payload; none when the payload
// is empty or not in the source's layout.
using PayloadRecord =
    std::function<std::optional<QString>(const QString& code, const QString& payload)>;

// The record lines of the requested codes, in their order, from a reply of
// `<linePrefix><key>="<payload>";` records; lines of codes not requested are
// ignored. None when no requested code has a usable record.
std::optional<QStringList> recordsOfCodes(QStringView text, QStringView linePrefix,
                                          const QStringList& codes, const PayloadRecord& toRecord);

} // namespace corvanta::market
