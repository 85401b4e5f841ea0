#pragma once

#include "app/TrayPort.h"

#include <QList>

#include <utility>

// A tray icon that only keeps its state; `available` false stands for a desktop
// without a tray. Tests emit clicked() / doubleClicked() themselves.
class FakeTrayPort : public corvanta::app::TrayPort {
public:
    explicit FakeTrayPort(bool isTrayAvailable = true) : available(isTrayAvailable) {}

    bool isAvailable() const override { return available; }
    void show() override { visible = true; }
    void hide() override { visible = false; }
    bool isVisible() const override { return visible; }
    void setIcon(const QIcon& newIcon) override { icon = newIcon; }
    void setToolTip(const QString& text) override { tip = text; }
    QString toolTip() const override { return tip; }
    void setContextMenu(QMenu* newMenu) override { menu = newMenu; }
    void showMessage(const QString& title, const QString& text) override
    {
        messages.append({title, text});
    }

    bool available;
    bool visible = false;
    QIcon icon;
    QString tip;
    QMenu* menu = nullptr;
    QList<std::pair<QString, QString>> messages; // title, text
};
