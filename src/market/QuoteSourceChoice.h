#pragma once

#include "FetchOptions.h"
#include "QuoteSource.h"
#include "SourceGate.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <array>
#include <memory>
#include <optional>

namespace corvanta::market {

// The quote sources of the data-source menu.
enum class QuoteSourceKind {
    Sina,    // "新浪", the default
    Tencent, // "腾讯"
    Page,    // "金融界", the quote server's page per stock
};

// The menu item's text of a source.
QString quoteSourceName(QuoteSourceKind kind);

// The source of a menu item's text; none for "搜狐" and "和讯", which have no
// documented quote endpoint and stay check marks only, and for any other text.
std::optional<QuoteSourceKind> quoteSourceOfName(const QString& name);

// The source of a stored choice: "新浪" when there is no row or it names none.
QuoteSourceKind quoteSourceFromSetting(const std::optional<QString>& stored);

// The status bar's text for the source that answered last.
QString answeringSourceText(const QString& sourceName);

// The addresses of the three sources (see QuoteServerAddress.h and SourceHosts.h).
struct QuoteHosts {
    QUrl page;
    QUrl sina;
    QUrl tencent;
};

// The least pause between two requests to one source, whichever fetch sends them:
// the shorter of the Part's pauses.
inline constexpr std::chrono::milliseconds sourcePause = summaryPause;

// The current quote source: builds it (a real source falls back on the other real
// source), keeps one gate per source for every fetch of the program, and tells
// when the choice changes and which source answered last.
class QuoteSourceChoice : public QObject {
    Q_OBJECT

public:
    QuoteSourceChoice(QuoteSourceKind kind, QuoteHosts hosts,
                      std::chrono::milliseconds basePause = sourcePause, QObject* parent = nullptr);

    QuoteSourceKind kind() const { return m_kind; }
    QString name() const { return quoteSourceName(m_kind); }
    const QuoteHosts& hosts() const { return m_hosts; }

    // The source every fetch started from now on uses.
    std::shared_ptr<const QuoteSource> source() const { return m_source; }

    // Chooses by the menu item's text: true for a quote source (sourceChanged()
    // when it is another than now), false and no change for any other item.
    bool choose(const QString& itemText);
    void choose(QuoteSourceKind kind);

    // New addresses for the sources; sourceChanged() follows when any differs.
    void setHosts(const QuoteHosts& hosts);

    // The name of the source whose quote reply came last (the fallback's when it
    // stood in); empty until one came.
    const QString& lastAnswered() const { return m_lastAnswered; }

    // The gate of a source, shared by all fetches to it.
    SourceGate& gate(QuoteSourceKind kind) const { return *m_gates[size_t(kind)]; }

Q_SIGNALS:
    // The choice or an address changed: source() is the new source.
    void sourceChanged(corvanta::market::QuoteSourceKind kind);
    // A quote reply came from this source.
    void answered(const QString& sourceName);

private:
    void rebuild();
    void onAnswered(const QString& sourceName);

    QuoteSourceKind m_kind;
    QuoteHosts m_hosts;
    std::array<std::shared_ptr<SourceGate>, 3> m_gates;
    std::shared_ptr<const QuoteSource> m_source;
    QString m_lastAnswered;
};

} // namespace corvanta::market

Q_DECLARE_METATYPE(corvanta::market::QuoteSourceKind)
