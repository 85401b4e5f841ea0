#include "QuoteSourceChoice.h"

#include "QuotePageSource.h"
#include "SinaQuoteSource.h"
#include "TencentQuoteSource.h"

using namespace Qt::StringLiterals;

namespace corvanta::market {

QString quoteSourceName(QuoteSourceKind kind)
{
    switch (kind) {
    case QuoteSourceKind::Sina:
        return SinaQuoteSource::sourceName();
    case QuoteSourceKind::Tencent:
        return TencentQuoteSource::sourceName();
    case QuoteSourceKind::Page:
        return QuotePageSource::sourceName();
    }
    return {};
}

std::optional<QuoteSourceKind> quoteSourceOfName(const QString& name)
{
    for (const QuoteSourceKind kind :
         {QuoteSourceKind::Sina, QuoteSourceKind::Tencent, QuoteSourceKind::Page}) {
        if (name == quoteSourceName(kind))
            return kind;
    }
    return std::nullopt;
}

QuoteSourceKind quoteSourceFromSetting(const std::optional<QString>& stored)
{
    return stored ? quoteSourceOfName(stored->trimmed()).value_or(QuoteSourceKind::Sina)
                  : QuoteSourceKind::Sina;
}

QString answeringSourceText(const QString& sourceName)
{
    return u"行情来源:"_s + sourceName;
}

QuoteSourceChoice::QuoteSourceChoice(QuoteSourceKind kind, QuoteHosts hosts,
                                     std::chrono::milliseconds basePause, QObject* parent)
    : QObject(parent), m_kind(kind), m_hosts(std::move(hosts))
{
    for (const QuoteSourceKind each :
         {QuoteSourceKind::Sina, QuoteSourceKind::Tencent, QuoteSourceKind::Page}) {
        // No parent: a run in flight may hold its source, and so the gate, a little
        // longer than this object lives.
        auto gate = std::make_shared<SourceGate>(quoteSourceName(each), basePause);
        connect(gate.get(), &SourceGate::answered, this, &QuoteSourceChoice::onAnswered);
        m_gates[size_t(each)] = std::move(gate);
    }
    rebuild();
}

bool QuoteSourceChoice::choose(const QString& itemText)
{
    const std::optional<QuoteSourceKind> kind = quoteSourceOfName(itemText);
    if (!kind)
        return false;
    choose(*kind);
    return true;
}

void QuoteSourceChoice::choose(QuoteSourceKind kind)
{
    if (kind == m_kind)
        return;
    m_kind = kind;
    rebuild();
    Q_EMIT sourceChanged(m_kind);
}

void QuoteSourceChoice::setHosts(const QuoteHosts& hosts)
{
    if (hosts.page == m_hosts.page && hosts.sina == m_hosts.sina &&
        hosts.tencent == m_hosts.tencent)
        return;
    m_hosts = hosts;
    rebuild();
    Q_EMIT sourceChanged(m_kind);
}

void QuoteSourceChoice::rebuild()
{
    const auto sina = [this] {
        auto source = std::make_shared<SinaQuoteSource>(m_hosts.sina);
        source->setGate(m_gates[size_t(QuoteSourceKind::Sina)]);
        return source;
    };
    const auto tencent = [this] {
        auto source = std::make_shared<TencentQuoteSource>(m_hosts.tencent);
        source->setGate(m_gates[size_t(QuoteSourceKind::Tencent)]);
        return source;
    };
    switch (m_kind) {
    case QuoteSourceKind::Sina: {
        auto source = sina();
        source->setFallback(tencent());
        m_source = std::move(source);
        break;
    }
    case QuoteSourceKind::Tencent: {
        auto source = tencent();
        source->setFallback(sina());
        m_source = std::move(source);
        break;
    }
    case QuoteSourceKind::Page: {
        auto source = std::make_shared<QuotePageSource>(m_hosts.page);
        source->setGate(m_gates[size_t(QuoteSourceKind::Page)]);
        m_source = std::move(source);
        break;
    }
    }
}

void QuoteSourceChoice::onAnswered(const QString& sourceName)
{
    m_lastAnswered = sourceName;
    Q_EMIT answered(sourceName);
}

} // namespace corvanta::market
