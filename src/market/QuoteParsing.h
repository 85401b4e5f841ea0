#pragma once

#include "QuoteSnapshot.h"
#include "calc/LimitPrices.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The three ways the program reads quote records. They return what they found;
// the windows apply it.
namespace corvanta::market {

// The latest quote time after a reset: no quote seen yet.
inline constexpr QStringView noQuoteTimeYet = u"not";

// The font colour of a signed figure: red for 0 or more, blue below; a text that is
// not a number leaves the colour as it was.
enum class SignColour { Keep, Red, Blue };
SignColour signColour(QStringView value);

enum class RecordMode {
    PriceOnly,     // the first record of the code with a price gives the price
    ShowInMonitor, // every record of the code is shown, the last one stays; a
                   // record without a price keeps the price shown before
};

// What the monitor window shows of a code's record (when asked to show it).
struct MonitorQuoteDisplay {
    QuoteSnapshot snapshot;
    SignColour changeColour = SignColour::Keep;
    SignColour ratioColour = SignColour::Keep;
};

struct RecordParse {
    QString price = missingPrice.toString();
    // The latest quote time after the scan: the newest stamp met, or the one given.
    QString latestQuoteTime;
    // "获取价格时间:" + date + " " + time of the last stamp that moved the latest time.
    std::optional<QString> timeLabel;
    std::optional<MonitorQuoteDisplay> display; // ShowInMonitor only
};

// Scans the record lines for the code (the first six characters of a record's first
// field, exact), moving the latest quote time forward as it meets newer stamps. A
// stamp that cannot be read as a date and time never replaces a set one.
RecordParse parseQuoteRecord(const QString& code, const QStringList& lines, RecordMode mode,
                             const QString& latestQuoteTime);

// The main window's quote fields.
struct MainQuoteFields {
    QString activeBuy;     // 主买 zm
    QString activeSell;    // 主卖 zms
    QString previousClose; // 昨收 zs
    QString open;          // 今开 jk
};

struct MainQuote {
    QString price = missingPrice.toString();
    // The record's fields when its code is the code input's; otherwise the shown
    // fields stay.
    std::optional<MainQuoteFields> fields;
    // The limit captions from the fields shown after the parse; none when neither
    // the previous close nor the open is a price (the captions stay).
    std::optional<LimitCaptions> captions;
};

// The main window's parse of the record line of its last reply. `code` is the code
// input as typed (compared untrimmed with the whole first field), `stockName` the
// picked stock's name (for the board's limit), `shown` the fields on screen now.
MainQuote parseMainQuote(const QString& code, QStringView stockName, QStringView recordLine,
                         const MainQuoteFields& shown);

// The price of the code's last record whose whole first field is the code; "-" when
// there is none or its price is blank.
QString priceFromLines(const QString& code, const QStringList& lines);

} // namespace corvanta::market
