#include "SourceRecord.h"

#include "MarketPrefix.h"

#include <QHash>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace corvanta::market {

QString SourceRecord::line() const
{
    const QStringList fields{code,          date,         time,   price,    lots,      change,
                             changeRatio,   averagePrice, volume, turnover, activeBuy, activeSell,
                             previousClose, open,         high,   low};
    QStringList cleaned;
    cleaned.reserve(fields.size());
    for (const QString& field : fields) {
        QString text = field;
        text.remove(u',');
        cleaned.append(text.isEmpty() ? u"-"_s : text);
    }
    return cleaned.join(u',');
}

std::optional<double> decimalValue(QStringView text)
{
    if (text.isEmpty() || text.size() > 32)
        return std::nullopt;
    qsizetype digits = 0;
    qsizetype points = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.')
            ++points;
        else if (!(c == u'-' && i == 0))
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString priceOrDash(const QString& text)
{
    const std::optional<double> value = decimalValue(text);
    return value && *value > 0 ? text : u"-"_s;
}

QString withDecimals(double value, int decimals)
{
    // A tiny negative result of a subtraction shows as 0, not as -0.
    const double scale = std::pow(10.0, decimals);
    if (std::round(value * scale) == 0)
        value = 0;
    return QString::number(value, 'f', decimals);
}

int decimalsOf(QStringView text, int atLeast)
{
    const qsizetype point = text.indexOf(u'.');
    const int decimals = point < 0 ? 0 : int(text.size() - point - 1);
    return std::max(decimals, atLeast);
}

QString lotsOfShares(std::optional<double> shares)
{
    // A count beyond any whole number is no volume a market trades.
    if (!shares || *shares < 0 || *shares / 100 >= double(std::numeric_limits<qint64>::max()))
        return u"-"_s;
    return QString::number(qint64(std::floor(*shares / 100)));
}

QString averageOf(std::optional<double> turnover, std::optional<double> shares)
{
    if (!turnover || !shares || *shares <= 0)
        return u"-"_s;
    return withDecimals(*turnover / *shares, 3);
}

QList<KeyedPayload> keyedPayloads(QStringView text, QStringView linePrefix)
{
    // Every record ends with `";`, normally followed by a line break; what follows
    // the last end (a record cut off, blanks) is no record.
    QList<KeyedPayload> found;
    const QList<QStringView> pieces = text.split(u"\";");
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        QStringView piece = pieces[i].trimmed();
        if (!piece.startsWith(linePrefix))
            continue;
        piece = piece.mid(linePrefix.size());
        // <key>="<payload> with the key a market prefix and six digits.
        if (piece.size() < 10 || piece.mid(8, 2) != u"=\"")
            continue;
        const QStringView key = piece.left(8);
        const QStringView prefix = key.left(2);
        if ((prefix != u"sh" && prefix != u"sz" && prefix != u"bj") || !isSixDigitCode(key.mid(2)))
            continue;
        const QStringView payload = piece.mid(10);
        if (payload.contains(u'"'))
            continue;
        found.append({key.toString(), payload.toString()});
    }
    return found;
}

QStringList prefixedCodes(const QStringList& codes)
{
    QStringList keys;
    for (const QString& code : codes) {
        if (const QString key = sourceKey(code); !key.isEmpty())
            keys.append(key);
    }
    return keys;
}

std::optional<QStringList> recordsOfCodes(QStringView text, QStringView linePrefix,
                                          const QStringList& codes, const PayloadRecord& toRecord)
{
    QHash<QString, QString> payloads;
    for (const KeyedPayload& keyed : keyedPayloads(text, linePrefix))
        payloads.insert(keyed.key, keyed.payload);

    QStringList lines;
    for (const QString& code : codes) {
        const QString key = sourceKey(code);
        if (key.isEmpty())
            continue;
        const auto payload = payloads.constFind(key);
        if (payload == payloads.constEnd())
            continue;
        if (const std::optional<QString> line = toRecord(code, *payload))
            lines.append(*line);
    }
    if (lines.isEmpty())
        return std::nullopt;
    return lines;
}

} // namespace corvanta::market
