#include "TrayController.h"

#include "MainMenus.h"
#include "TradePanel.h"
#include "TrayPort.h"
#include "calc/PlaceholderStock.h"
#include "model/LiveState.h"

#include <QComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QIcon trayIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xc0, 0x20, 0x20));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(1, 1, 30, 30, 6, 6);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(20);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, u"C"_s);
    return QIcon(pixmap);
}

} // namespace

TrayController::TrayController(TrayPort& tray, QMainWindow& window, MainMenus& menus,
                               TradePanel& trade, model::LiveState& live)
    : QObject(&window), m_tray(tray), m_window(window), m_trade(trade), m_live(live)
{
    m_tray.setIcon(trayIcon());
    m_tray.setToolTip(idleToolTip());
    m_tray.setContextMenu(menus.trayPopup);
    connect(&m_tray, &TrayPort::doubleClicked, this, &TrayController::restore);
    connect(menus.trayRestore, &QAction::triggered, this, &TrayController::restore);
    connect(menus.hideToTray, &QAction::triggered, this, &TrayController::hideToTray);
}

bool TrayController::inTray() const
{
    return m_live.inTray();
}

void TrayController::leaveForExit()
{
    m_live.setInTray(false);
}

void TrayController::markInTray()
{
    m_live.setInTray(true);
}

QString TrayController::idleToolTip()
{
    return u"Corvanta Ostrel"_s;
}

void TrayController::setToolTip(const QString& text)
{
    m_tray.setToolTip(text);
}

void TrayController::hideToTray()
{
    const QString code = m_trade.code->text();
    if (!code.isEmpty() && code != placeholderCode) {
        m_live.setInTray(true);
        m_tray.setToolTip(code + u"-"_s + m_trade.candidates->currentText() + u" 当前价:"_s +
                          m_trade.currentPrice->text() + u"元,"_s);
        Q_EMIT wentToTrayWithStock();
    }
    if (!m_tray.isAvailable()) {
        // No tray to come back from: a minimised window stays on the taskbar.
        m_window.showMinimized();
        return;
    }
    m_tray.show();
    m_window.hide();
}

void TrayController::restore()
{
    m_window.show();
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.raise();
    m_window.activateWindow();
    m_live.setInTray(false);
    m_tray.setToolTip(idleToolTip());
    m_tray.hide();
    Q_EMIT restored();
}

} // namespace corvanta::app
