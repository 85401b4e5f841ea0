#include "QuoteSnapshot.h"

#include <array>

namespace corvanta::market {

namespace {

constexpr qsizetype codeWidth = 6;
constexpr qsizetype dateWidth = 10;
constexpr qsizetype timeWidth = 8;
constexpr qsizetype valueWidth = 15;

QString fieldAt(const QStringList& fields, qsizetype index, qsizetype width)
{
    return index < fields.size() ? fields[index].left(width) : QString();
}

} // namespace

QStringList recordFields(QStringView line)
{
    if (!line.contains(u','))
        return {QString()};
    QStringList fields;
    for (const QStringView field : line.split(u','))
        fields.append(field.toString());
    return fields;
}

QString recordKey(QStringView line)
{
    const qsizetype comma = line.indexOf(u',');
    return comma < 0 ? QString() : line.left(comma).toString();
}

QuoteSnapshot QuoteSnapshot::fromLine(QStringView line)
{
    const QStringList f = recordFields(line);
    QuoteSnapshot s;
    s.code = fieldAt(f, 0, codeWidth);
    s.date = fieldAt(f, 1, dateWidth);
    s.time = fieldAt(f, 2, timeWidth);
    const std::array<QString*, 13> values{
        &s.price,  &s.lots,     &s.change,    &s.changeRatio, &s.averagePrice,
        &s.volume, &s.turnover, &s.activeBuy, &s.activeSell,  &s.previousClose,
        &s.open,   &s.high,     &s.low};
    for (qsizetype i = 0; i < qsizetype(values.size()); ++i)
        *values[size_t(i)] = fieldAt(f, i + 3, valueWidth);
    return s;
}

QString priceOrMissing(const QString& price)
{
    return price.trimmed().isEmpty() ? missingPrice.toString() : price;
}

QString QuoteSnapshot::priceOrMissing() const
{
    return market::priceOrMissing(price);
}

bool alreadyFetched(QStringView code, const QStringList& lines)
{
    for (const QString& line : lines) {
        if (!code.isEmpty() && recordKey(line).left(codeWidth) == code)
            return true;
    }
    return false;
}

} // namespace corvanta::market
