#include "TickerBar.h"

#include "monitor/MonitorSession.h"
#include "report/MonitorTexts.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

constexpr int wideLineLeft = 168;
constexpr int narrowLineLeft = 6;
constexpr int labelTop = 5;
const QColor skyBlue(166, 202, 240);

QString colourStyle(const QString& colour)
{
    return colour.isEmpty() ? QString() : u"color: "_s + colour + u";"_s;
}

// The slider positions of the refresh items: 30 s, 60 s, 2 and 5 minutes.
constexpr int refreshPositions[] = {29, 59, 119, 299};

} // namespace

TickerBar::TickerBar(monitor::MonitorSession& session, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_session(session)
{
    setWindowTitle(u"状态条"_s);
    setObjectName(u"tickerBar"_s);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, skyBlue);
    setPalette(palette);
    m_total = new QLabel(u"实时数据："_s, this);
    m_total->setObjectName(u"totalLabel"_s);
    m_total->move(6, labelTop);
    m_line = new QLabel(this);
    m_line->setObjectName(u"lineLabel"_s);
    m_line->move(wideLineLeft, labelTop);
    for (QLabel* label : {m_total, m_line})
        label->setAttribute(Qt::WA_TransparentForMouseEvents); // the bar takes the mouse
    resize(wideWidth, barHeight);
    buildMenu();
    m_askWidth = [this](const QString& caption, const QString& prompt, const QString& value,
                        QPoint at) -> std::optional<QString> {
        QInputDialog dialog(this);
        dialog.setWindowTitle(caption);
        dialog.setLabelText(prompt);
        dialog.setTextValue(value);
        dialog.move(at);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    };
    connect(&m_session, &monitor::MonitorSession::tickerChanged, this, &TickerBar::applyDisplay);
    connect(&m_session, &monitor::MonitorSession::intervalChanged, this,
            &TickerBar::applyRefreshChecks);
    applyDisplay();
}

void TickerBar::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->addAction(u"自定义股票(&P)"_s, this, &TickerBar::codeWindowRequested);
    m_display = m_menu->addMenu(u"选择显示股票(&G)"_s);
    for (int i = 0; i < report::tickerItemCount; ++i) {
        QAction* item = m_display->addAction(QString());
        item->setCheckable(true);
        if (i != report::tickerHeadItem && i <= report::tickerLastClickableItem)
            connect(item, &QAction::triggered, this, [this, i] {
                m_session.ticker().toggleItem(i);
                applyDisplay();
            });
        m_items << item;
    }
    m_reconnect = m_menu->addAction(u"重新连接(&N)"_s, this, [this] {
        m_session.ticker().setTotalText(QString());
        m_total->clear();
        m_session.setMonitoring(true);
    });
    QMenu* refresh = m_menu->addMenu(u"刷新时间(&T)"_s);
    m_refresh = new QActionGroup(this);
    const QString refreshCaptions[] = {u"30秒"_s, u"60秒"_s, u"2分钟"_s, u"5分钟"_s};
    for (int i = 0; i < 4; ++i) {
        QAction* item = refresh->addAction(refreshCaptions[i]);
        item->setCheckable(true);
        item->setActionGroup(m_refresh);
        const int position = refreshPositions[i];
        connect(item, &QAction::triggered, this,
                [this, position] { m_session.setIntervalPosition(position); });
    }
    m_menu->addSeparator();
    QMenu* opacity = m_menu->addMenu(u"透明度(&M)"_s);
    m_opacity = new QActionGroup(this);
    for (const QString& caption : {u" 40(&1)"_s, u" 80(&2)"_s, u"120(&3)"_s, u"160(&4)"_s,
                                   u"200(&5)"_s, u"240(&6)"_s, u"255(&7)"_s}) {
        QAction* item = opacity->addAction(caption);
        item->setCheckable(true);
        item->setActionGroup(m_opacity);
        item->setChecked(caption.startsWith(u"200"_s));
        connect(item, &QAction::triggered, this,
                [this, caption] { setAlpha(caption.left(3).trimmed().toInt()); });
    }
    m_menu->addAction(u"调节宽度(&W)"_s, this, &TickerBar::askWidth);
    // No mnemonic: an ampersand before ")" would underline the bracket.
    m_hints = m_menu->addAction(u"文本提示()"_s);
    m_hints->setCheckable(true);
    m_hints->setChecked(true);
    connect(m_hints, &QAction::toggled, this, &TickerBar::applyHints);
    m_menu->addSeparator();
    m_menu->addAction(u"关闭(&C)"_s, this, &TickerBar::close);
    QMenu* mode = m_menu->addMenu(u"刷新方式(&F)"_s);
    mode->addAction(u"依次更替(&G)"_s);
    mode->addAction(u"字幕游走(&M)"_s);
    mode->setEnabled(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(mapToGlobal(at)); });
    applyRefreshChecks();
}

QList<QAction*> TickerBar::refreshItems() const
{
    return m_refresh->actions();
}

QList<QAction*> TickerBar::opacityItems() const
{
    return m_opacity->actions();
}

void TickerBar::setWidthAsker(WidthAsker asker)
{
    m_askWidth = std::move(asker);
}

void TickerBar::applyRefreshChecks()
{
    // The slider also stops between the items' periods: then no item is checked.
    const int position = m_session.intervalPosition();
    for (int i = 0; i < 4; ++i)
        m_refresh->actions()[i]->setChecked(refreshPositions[i] == position);
}

void TickerBar::applyDisplay()
{
    const report::TickerDisplay& d = m_session.ticker().display();
    m_total->setText(d.totalText);
    m_total->setStyleSheet(colourStyle(d.totalColour));
    m_total->adjustSize();
    m_line->setText(d.lineText);
    m_line->setStyleSheet(colourStyle(d.lineColour));
    m_line->adjustSize();
    placeLine();
    for (int i = 0; i < report::tickerItemCount; ++i) {
        const report::TickerItem& item = d.items[i];
        QAction* action = m_items[i];
        action->setText(item.caption);
        action->setChecked(item.checked);
        action->setEnabled(item.enabled);
        action->setVisible(item.visible);
    }
    m_reconnect->setEnabled(d.reconnectEnabled);
    m_hint = d.hint;
    applyHints();
}

void TickerBar::applyHints()
{
    const QString hint = m_hints->isChecked() ? m_hint : QString();
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_total),
                       static_cast<QWidget*>(m_line)})
        w->setToolTip(hint);
}

void TickerBar::setAlpha(int alpha)
{
    m_alpha = std::clamp(alpha, 0, 255);
    for (QAction* item : m_opacity->actions())
        if (item->text().left(3).trimmed().toInt() == m_alpha)
            item->setChecked(true);
    setWindowOpacity(m_alpha / 255.0);
}

void TickerBar::setWide(bool wide)
{
    m_total->setVisible(wide);
    placeLine();
}

// A long total pushes the line aside rather than being drawn over.
void TickerBar::placeLine()
{
    const int left = m_total->isVisibleTo(this)
                         ? std::max(wideLineLeft, m_total->x() + m_total->width() + narrowLineLeft)
                         : narrowLineLeft;
    m_line->move(left, labelTop);
}

void TickerBar::toggleFold()
{
    const bool unfold = width() == narrowWidth;
    resize(unfold ? wideWidth : narrowWidth, barHeight);
    setWide(unfold);
}

void TickerBar::setBarWidth(int width)
{
    resize(width, barHeight);
    setWide(width >= report::barWideFrom);
}

void TickerBar::askWidth()
{
    const auto answer = m_askWidth(u"宽度值"_s, u"宽度(取值120~600)"_s, QString::number(width()),
                                   pos() + QPoint(30, 30));
    if (answer)
        setBarWidth(report::barWidthFromAnswer(*answer));
}

void TickerBar::showEvent(QShowEvent* event)
{
    resize(width(), barHeight);
    m_session.ticker().setTotalText(u"盈亏合计："_s +
                                    m_session.grid().totals[report::MonitorProfit] + u"元"_s);
    applyDisplay();
    setWindowOpacity(m_alpha / 255.0);
    QWidget::showEvent(event);
}

void TickerBar::closeEvent(QCloseEvent* event)
{
    // Closing only hides the bar; the program destroys it when it ends.
    event->accept();
    Q_EMIT monitorWindowRequested();
}

// The window system takes the mouse once the move starts: started at the press,
// it would swallow the second click of a double-click. So the move starts when
// the pressed mouse actually moves.
void TickerBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pressedAt = event->globalPosition().toPoint();
    QWidget::mousePressEvent(event);
}

void TickerBar::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressedAt && event->buttons().testFlag(Qt::LeftButton) &&
        (event->globalPosition().toPoint() - *m_pressedAt).manhattanLength() >=
            QGuiApplication::styleHints()->startDragDistance()) {
        m_pressedAt.reset();
        if (windowHandle())
            windowHandle()->startSystemMove();
    }
    QWidget::mouseMoveEvent(event);
}

void TickerBar::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressedAt.reset();
    QWidget::mouseReleaseEvent(event);
}

void TickerBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    toggleFold();
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace corvanta::windows
