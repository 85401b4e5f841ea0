#include "TrayPort.h"

#include <QApplication>
#include <QStyle>
#include <QSystemTrayIcon>

namespace corvanta::app {

namespace {

QIcon defaultTrayIcon()
{
    const QIcon windowIcon = QApplication::windowIcon();
    if (!windowIcon.isNull())
        return windowIcon;
    return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
}

} // namespace

SystemTrayPort::SystemTrayPort(QObject* parent)
    : TrayPort(parent), m_icon(new QSystemTrayIcon(defaultTrayIcon(), this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    Q_EMIT clicked();
                else if (reason == QSystemTrayIcon::DoubleClick)
                    Q_EMIT doubleClicked();
            });
}

bool SystemTrayPort::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayPort::show()
{
    m_icon->show();
}

void SystemTrayPort::hide()
{
    m_icon->hide();
}

bool SystemTrayPort::isVisible() const
{
    return m_icon->isVisible();
}

void SystemTrayPort::setIcon(const QIcon& icon)
{
    m_icon->setIcon(icon.isNull() ? defaultTrayIcon() : icon);
}

void SystemTrayPort::setToolTip(const QString& text)
{
    m_icon->setToolTip(text);
}

QString SystemTrayPort::toolTip() const
{
    return m_icon->toolTip();
}

void SystemTrayPort::setContextMenu(QMenu* menu)
{
    m_icon->setContextMenu(menu);
}

void SystemTrayPort::showMessage(const QString& title, const QString& text)
{
    m_icon->showMessage(title, text);
}

} // namespace corvanta::app
