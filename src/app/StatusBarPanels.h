#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

namespace corvanta::app {

// The three centred panels of the status bar: product and version, the contact or
// proxy line, and the network state.
class StatusBarPanels : public QObject {
    Q_OBJECT
public:
    StatusBarPanels(QStatusBar* bar, const QString& version);

    // The second panel: the proxy line, or with an empty text its resting text, the
    // source that answered last.
    void setContactLine(const QString& text);
    // The resting text of the second panel; shown at once unless the proxy line is.
    void setSourceLine(const QString& text);
    void setNetworkState(const QString& text);

    QLabel* product;
    QLabel* contact;
    QLabel* network;

private:
    QString m_sourceLine;
    bool m_contactShown = false; // the second panel shows the proxy line
};

// The product line of the first panel.
QString productLine(const QString& version);

} // namespace corvanta::app
