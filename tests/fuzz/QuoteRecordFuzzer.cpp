// Any reply body of the quote server: decoded, split into records and parsed for
// the monitor, the main window and the price lookups.
#include "market/QuotePageSource.h"
#include "market/QuoteParsing.h"

#include <QUrl>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta::market;
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString code = QStringLiteral("600000");
    const QuotePageSource source(QUrl(QStringLiteral("http://127.0.0.1:18080")));
    const QStringList lines = gbkLines(body);
    (void)source.records(body, {code});
    (void)parseQuoteRecord(code, lines, RecordMode::ShowInMonitor, QString());
    (void)parseQuoteRecord(code, lines, RecordMode::PriceOnly,
                           QStringLiteral("2009-04-01 10:00:00"));
    (void)priceFromLines(code, lines);
    for (const QString& line : lines)
        (void)parseMainQuote(code, QStringLiteral("浦发银行"), line, MainQuoteFields{});
    return 0;
}
