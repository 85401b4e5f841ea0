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

    void setContactLine(const QString& text);
    void setNetworkState(const QString& text);

    QLabel* product;
    QLabel* contact;
    QLabel* network;
};

// The product line of the first panel.
QString productLine(const QString& version);

} // namespace corvanta::app
