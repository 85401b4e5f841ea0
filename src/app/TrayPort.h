#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace corvanta::app {

// The program's tray icon, behind an interface so the main window can be tested
// where no tray exists. When isAvailable() is false the caller minimises instead
// of hiding to the tray, so the program stays reachable.
class TrayPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // True when the desktop shows tray icons.
    virtual bool isAvailable() const = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    virtual void setIcon(const QIcon& icon) = 0;
    virtual void setToolTip(const QString& text) = 0;
    virtual QString toolTip() const = 0;
    // The menu shown on a right click; the caller keeps ownership.
    virtual void setContextMenu(QMenu* menu) = 0;
    // A balloon message beside the icon.
    virtual void showMessage(const QString& title, const QString& text) = 0;

Q_SIGNALS:
    // The icon was clicked once.
    void clicked();
    // The icon was double-clicked: the program comes back from the tray.
    void doubleClicked();
};

// The tray icon of the desktop. Shows the application's window icon, or a
// standard one when the application has none, since an empty icon is not shown.
class SystemTrayPort : public TrayPort {
    Q_OBJECT
public:
    explicit SystemTrayPort(QObject* parent = nullptr);

    bool isAvailable() const override;
    void show() override;
    void hide() override;
    bool isVisible() const override;
    void setIcon(const QIcon& icon) override;
    void setToolTip(const QString& text) override;
    QString toolTip() const override;
    void setContextMenu(QMenu* menu) override;
    void showMessage(const QString& title, const QString& text) override;

private:
    QSystemTrayIcon* m_icon;
};

} // namespace corvanta::app
