// Any reply body of the 腾讯 quote host.
#include "RealSourceFuzz.h"

#include "market/TencentQuoteSource.h"

#include <QUrl>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace corvanta::market;
    const TencentQuoteSource source(QUrl(QStringLiteral("http://127.0.0.1:18082")));
    corvanta::fuzz::fuzzSourceReply(source, tencentRecord, data, size);
    return 0;
}
