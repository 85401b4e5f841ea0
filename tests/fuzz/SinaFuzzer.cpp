// Any reply body of the 新浪 quote host.
#include "RealSourceFuzz.h"

#include "market/SinaQuoteSource.h"

#include <QUrl>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta::market;
    const SinaQuoteSource source(QUrl(QStringLiteral("http://127.0.0.1:18081")));
    corvanta::fuzz::fuzzSourceReply(source, sinaRecord, data, size);
    return 0;
}
