#pragma once

// One fuzz input as a reply body of a real quote source: decoded, split into keyed
// records and turned into record lines, then parsed as the monitor and the main
// window do; the source's payload parser also runs on the raw text.
#include "market/QuotePageSource.h"
#include "market/QuoteParsing.h"
#include "market/QuoteSource.h"
#include "market/SourceRecord.h"

#include <cstddef>
#include <cstdint>

namespace corvanta::fuzz {

inline void fuzzSourceReply(const market::QuoteSource& source,
                            const market::PayloadRecord& recordOf, const uint8_t* data, size_t size)
{
    using namespace corvanta::market;
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    // Codes of both markets, a fund, an index-like code and one no source knows.
    static const QStringList codes{QStringLiteral("600000"), QStringLiteral("000001"),
                                   QStringLiteral("160922"), QStringLiteral("688981"),
                                   QStringLiteral("830799"), QStringLiteral("60000")};
    if (const auto lines = source.records(body, codes)) {
        for (const QString& code : codes) {
            (void)parseQuoteRecord(code, *lines, RecordMode::ShowInMonitor, QString());
            (void)priceFromLines(code, *lines);
        }
    }
    // The payload parser on its own, whatever the body's frame.
    (void)recordOf(codes.first(), gbkText(body));
}

} // namespace corvanta::fuzz
