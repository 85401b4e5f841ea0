#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace corvanta::report {

// A label's text colour as a name the window turns into a colour ("red",
// "green", or whatever an index label carries); empty keeps the colour.
using TickerColour = QString;

// One entry of the floating bar's display menu: 0 "全部(&A)", 1 "盈亏合计(&H)", from 2
// on the lines of the rotation (item k stands for line k − 1).
struct TickerItem {
    QString caption;
    bool checked = true;
    bool enabled = false;
    bool visible = false;
};

inline constexpr int tickerItemCount = 24;
inline constexpr int tickerAllItem = 0;
inline constexpr int tickerHeadItem = 1;
// Items from here on have no action when clicked.
inline constexpr int tickerLastClickableItem = 21;

// Everything the floating bar shows.
struct TickerDisplay {
    QString totalText;
    TickerColour totalColour;
    QString lineText;
    TickerColour lineColour;
    QString hint;
    std::array<TickerItem, tickerItemCount> items;
    bool reconnectEnabled = false;
};

// A monitored stock's row as the rotation reads it.
struct TickerRow {
    QString name;
    QString line;
    bool profit = true; // its P/L is 0 or more
};

struct TickerLabel {
    QString text;
    TickerColour colour;
};

// What a refresh cycle hands the ticker step: the grid in row order, the total
// P/L, the two index labels and the monitor's time label.
struct TickerRound {
    QList<TickerRow> rows;
    QString totalProfit;
    bool totalIsProfit = true;
    TickerLabel firstIndex;
    TickerLabel secondIndex;
    QString timeLabel;
};

// The floating bar's lines and their rotation: line 0 the head stock, then one
// line per monitored stock, then the two index labels. Each refresh cycle posts
// the head line or moves the rotation one step on; the bar only shows the
// display.
class TickerRotation {
public:
    TickerRotation();

    const QStringList& lines() const { return m_lines; }
    int position() const { return m_position; }
    int headState() const { return m_headState; }
    const TickerDisplay& display() const { return m_display; }

    // The bar takes new lines only while it was opened from the monitor window.
    bool isActive() const { return m_active; }
    void setActive(bool active) { m_active = active; }

    // The monitor list changed: the lines are rebuilt from scratch on the next
    // showing of the monitor window.
    void markRebuildPending() { m_rebuildPending = true; }
    bool rebuildPending() const { return m_rebuildPending; }
    // Empties the lines and hides the stock items, when a rebuild is pending.
    void rebuildIfPending();

    // A cycle priced the head stock: its line is posted unless the rotation runs.
    void headQuoted(const QString& headLine, const QString& change);
    // A cycle found no head stock.
    void noHead();
    // Asks for the head line again in the next cycle (a new head stock was set).
    void resetHead() { m_headState = 0; }

    // The ticker step and the bar update at the end of a refresh cycle; false
    // when they do not run in this cycle.
    bool step(const TickerRound& round);

    // A click on a display item.
    void toggleItem(int index);
    // Whether a checked item from index 2 on has a caption containing the text.
    bool isItemChecked(const QString& text) const;

    // The total label's own texts.
    void setTotalText(const QString& text, const TickerColour& colour = {});
    void setReconnectEnabled(bool enabled) { m_display.reconnectEnabled = enabled; }

private:
    void showRow(const TickerRound& round, int t);
    void storeRow(const TickerRound& round, int t);
    void showTotal(const TickerRound& round);
    void finish(const TickerRound& round, int t);

    QStringList m_lines;
    int m_position = 1;
    int m_headState = 0;
    bool m_active = false;
    bool m_rebuildPending = false;
    TickerDisplay m_display;
};

} // namespace corvanta::report
