#pragma once

#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace corvanta::monitor {
class MonitorSession;
}

namespace corvanta::windows {

// "状态条": a frameless strip on top of every window, with no taskbar button,
// that shows the monitor's total P/L and one line at a time of the rotation the
// session runs. Dragged by any point, folded by a double-click; its menu picks
// the lines shown, the refresh period, the opacity and the width.
class TickerBar : public QWidget {
    Q_OBJECT
public:
    explicit TickerBar(monitor::MonitorSession& session, QWidget* parent = nullptr);

    static constexpr int barHeight = 22;
    static constexpr int wideWidth = 460;
    static constexpr int narrowWidth = 270;

    // The width dialog: caption, prompt, prefilled text and where it opens;
    // none when cancelled. Tests answer it themselves.
    using WidthAsker = std::function<std::optional<QString>(
        const QString& caption, const QString& prompt, const QString& value, QPoint at)>;
    void setWidthAsker(WidthAsker asker);

    int alpha() const { return m_alpha; }
    void setAlpha(int alpha);
    // Folds to the narrow form or back.
    void toggleFold();
    void askWidth();
    void setBarWidth(int width);

    QLabel* totalLabel() const { return m_total; }
    QLabel* lineLabel() const { return m_line; }
    QMenu* popupMenu() const { return m_menu; }
    QMenu* displayMenu() const { return m_display; }
    QAction* reconnectAction() const { return m_reconnect; }
    QAction* hintsAction() const { return m_hints; }
    QList<QAction*> displayItems() const { return m_items; }
    QList<QAction*> refreshItems() const;
    QList<QAction*> opacityItems() const;

    // Follows the session's display: labels, colours, hint and menu items.
    void applyDisplay();

Q_SIGNALS:
    // "自定义股票(&P)": the code lookup window opens beside the bar.
    void codeWindowRequested();
    // "关闭(&C)": the monitor window comes back.
    void monitorWindowRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void buildMenu();
    void setWide(bool wide);
    void placeLine();
    void applyHints();
    void applyRefreshChecks();

    monitor::MonitorSession& m_session;
    QLabel* m_total;
    QLabel* m_line;
    QMenu* m_menu;
    QMenu* m_display;
    QActionGroup* m_refresh;
    QActionGroup* m_opacity;
    QAction* m_reconnect;
    QAction* m_hints;
    QList<QAction*> m_items;
    int m_alpha = 200;
    QString m_hint;
    WidthAsker m_askWidth;
    std::optional<QPoint> m_pressedAt; // the left button is down here, not yet moved
};

} // namespace corvanta::windows
