#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace corvanta::market {

// The quote record lines the program keeps between fetches: the lines of the
// last summary or monitor run and the time of the latest quote. Whoever fills
// them announces it; the summary and the monitor read them.
class QuoteLines : public QObject {
    Q_OBJECT
public:
    // The latest quote time when none is known.
    static inline const QString noQuoteTime = QStringLiteral("not");

    using QObject::QObject;

    const QStringList& monitorLines() const { return m_monitorLines; }
    void clearMonitorLines();
    void appendMonitorLines(const QStringList& lines);
    // True when some line holds the code (the line's first field or anywhere).
    bool holdsCode(const QString& code) const;

    const QString& latestQuoteTime() const { return m_latestQuoteTime; }
    void setLatestQuoteTime(const QString& time);

Q_SIGNALS:
    void changed();

private:
    QStringList m_monitorLines;
    QString m_latestQuoteTime = noQuoteTime;
};

} // namespace corvanta::market
