#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace corvanta::market {

// The text "-" stands for a missing price everywhere in the program.
inline constexpr QStringView missingPrice = u"-";

// One comma-separated quote record, every field text cut to its width. Fields
// after the sixteenth are ignored; missing ones are empty.
struct QuoteSnapshot {
    QString code;          // 6
    QString date;          // 10
    QString time;          // 8
    QString price;         // 15, 当前
    QString lots;          // 15, 手数
    QString change;        // 15, 涨跌
    QString changeRatio;   // 15, 幅度
    QString averagePrice;  // 15, 均价
    QString volume;        // 15, 成交量
    QString turnover;      // 15, 成交金额
    QString activeBuy;     // 15, 主买
    QString activeSell;    // 15, 主卖
    QString previousClose; // 15, 昨收
    QString open;          // 15, 今开
    QString high;          // 15, 最高
    QString low;           // 15, 最低

    static QuoteSnapshot fromLine(QStringView line);

    // The price, or "-" when the field is blank.
    QString priceOrMissing() const;
};

// The record's fields in order, uncut. A line without a comma has a single empty
// field, so it matches no code.
QStringList recordFields(QStringView line);

// The whole first field of a record line (empty for a line without a comma).
QString recordKey(QStringView line);

// A price text, or "-" when it is blank.
QString priceOrMissing(const QString& price);

// Whether the list being filled already holds a record of the code: the code is
// compared with each record's code field, never searched inside the whole line,
// so a code hidden in another record's figures does not count.
bool alreadyFetched(QStringView code, const QStringList& lines);

} // namespace corvanta::market
