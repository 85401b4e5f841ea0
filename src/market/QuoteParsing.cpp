#include "QuoteParsing.h"

#include "calc/Numbers.h"
#include "calc/PlaceholderStock.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace corvanta::market {

namespace {

// The stamp layouts servers use; a stamp in none of them is unreadable.
std::optional<QDateTime> readStamp(const QString& stamp)
{
    for (const QString& format :
         {u"yyyy-MM-dd HH:mm:ss"_s, u"yyyy-M-d H:mm:ss"_s, u"yyyy/M/d H:mm:ss"_s,
          u"yyyy-MM-dd HH:mm"_s, u"yyyy/M/d H:mm"_s}) {
        const QDateTime read = QDateTime::fromString(stamp, format);
        if (read.isValid())
            return read;
    }
    return std::nullopt;
}

// Whether the stamp replaces the latest quote time.
bool isNewer(const QString& stamp, const QString& latest)
{
    if (latest == noQuoteTimeYet)
        return true;
    const std::optional<QDateTime> read = readStamp(stamp);
    if (!read)
        return false;
    const std::optional<QDateTime> current = readStamp(latest);
    return !current || *current < *read;
}

void applyColour(SignColour& colour, QStringView value)
{
    const SignColour read = signColour(value);
    if (read != SignColour::Keep)
        colour = read;
}

} // namespace

SignColour signColour(QStringView value)
{
    const std::optional<double> number = num::parseNumber(value);
    if (!number)
        return SignColour::Keep;
    return *number >= 0 ? SignColour::Red : SignColour::Blue;
}

RecordParse parseQuoteRecord(const QString& code, const QStringList& lines, RecordMode mode,
                             const QString& latestQuoteTime)
{
    RecordParse parse;
    parse.latestQuoteTime = latestQuoteTime;
    if (code == placeholderCode)
        return parse;
    bool found = false; // a record with a price was met
    for (const QString& line : lines) {
        const QuoteSnapshot record = QuoteSnapshot::fromLine(line);
        if (record.code != code || recordKey(line).isEmpty())
            continue;
        const QString stamp = record.date + u' ' + record.time;
        if (isNewer(stamp, parse.latestQuoteTime)) {
            parse.latestQuoteTime = stamp;
            parse.timeLabel = u"获取价格时间:"_s + stamp;
        }
        const QString price = record.priceOrMissing();
        // A record without a price neither ends the search for one nor replaces
        // a price already found.
        if (price != missingPrice || !found)
            parse.price = price;
        found = found || price != missingPrice;
        if (mode == RecordMode::PriceOnly) {
            if (found)
                return parse;
            continue;
        }
        MonitorQuoteDisplay display;
        if (parse.display) {
            display.changeColour = parse.display->changeColour;
            display.ratioColour = parse.display->ratioColour;
        }
        display.snapshot = record;
        display.snapshot.price = parse.price == missingPrice ? record.price : parse.price;
        applyColour(display.changeColour, record.change);
        applyColour(display.ratioColour, record.changeRatio);
        parse.display = display;
    }
    return parse;
}

MainQuote parseMainQuote(const QString& code, QStringView stockName, QStringView recordLine,
                         const MainQuoteFields& shown)
{
    MainQuote quote;
    MainQuoteFields after = shown;
    if (!recordKey(recordLine).isEmpty() && recordKey(recordLine) == code) {
        const QuoteSnapshot record = QuoteSnapshot::fromLine(recordLine);
        quote.price = record.priceOrMissing();
        after = {record.activeBuy, record.activeSell, record.previousClose, record.open};
        quote.fields = after;
    }
    if (const auto limits = limitPrices(code.trimmed(), stockName, after.previousClose, after.open))
        quote.captions = limitCaptions(*limits);
    return quote;
}

QString priceFromLines(const QString& code, const QStringList& lines)
{
    QString price;
    if (code == placeholderCode)
        return missingPrice.toString();
    for (const QString& line : lines) {
        const QString key = recordKey(line);
        if (!key.isEmpty() && key == code)
            price = QuoteSnapshot::fromLine(line).price;
    }
    return priceOrMissing(price);
}

} // namespace corvanta::market
