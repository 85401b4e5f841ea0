// Any reply body of the 新浪 quote host: decoded, split into keyed records and
// turned into record lines, then parsed as the monitor and the main window do.
#include "market/QuotePageSource.h"
#include "market/QuoteParsing.h"
#include "market/SinaQuoteSource.h"

#include <QUrl>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta::market;
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    // Codes of both markets, a fund, an index-like code and one no source knows.
    static const QStringList codes{QStringLiteral("600000"), QStringLiteral("000001"),
                                   QStringLiteral("160922"), QStringLiteral("688981"),
                                   QStringLiteral("830799"), QStringLiteral("60000")};
    const SinaQuoteSource source(QUrl(QStringLiteral("http://127.0.0.1:18081")));
    if (const auto lines = source.records(body, codes)) {
        for (const QString& code : codes) {
            (void)parseQuoteRecord(code, *lines, RecordMode::ShowInMonitor, QString());
            (void)priceFromLines(code, *lines);
        }
    }
    // The payload parser on its own, whatever the body's frame.
    (void)sinaRecord(codes.first(), gbkText(body));
    return 0;
}
