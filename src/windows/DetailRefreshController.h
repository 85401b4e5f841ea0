#pragma once

#include <QObject>

class QGroupBox;
class QTimer;

namespace corvanta::windows {

// The profit/loss window's periodic refresh: the chosen interval in the ladder
// group's caption, and a marker in the header group's caption that grows by one
// ">" per tick.
class DetailRefreshController : public QObject {
    Q_OBJECT
public:
    DetailRefreshController(QGroupBox& headerGroup, QGroupBox& ladderGroup,
                            QObject* parent = nullptr);

    // Starts ticking at the interval of that index of refreshIntervals().
    void start(int index);
    // Stops ticking; the interval caption stays.
    void stop();
    // Stops ticking and empties the marker, as closing the window does.
    void reset();

Q_SIGNALS:
    // A tick: refresh what depends on the quote. The marker advances after it.
    void refreshDue();

private:
    void tick();

    QGroupBox& m_headerGroup;
    QGroupBox& m_ladderGroup;
    QTimer* m_timer;
};

} // namespace corvanta::windows
