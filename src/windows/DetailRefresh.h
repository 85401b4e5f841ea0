#pragma once

#include <QList>
#include <QString>

namespace corvanta::windows {

// A refresh interval the profit/loss window offers: its menu item, its period and
// the caption the ladder group then carries.
struct RefreshInterval {
    QString item;
    int milliseconds;
    QString caption;
};

// The ladder group's caption while no interval is chosen.
QString ladderGroupCaption();

// The intervals in menu order, 5 seconds to 5 minutes.
const QList<RefreshInterval>& refreshIntervals();

// The refresh marker after one more tick: one ">" more each time, back to one
// after seventeen.
QString nextRefreshMarker(const QString& marker);

} // namespace corvanta::windows
