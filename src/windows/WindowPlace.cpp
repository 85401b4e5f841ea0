#include "WindowPlace.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

QSettings placeSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, u"Corvanta"_s, u"windows"_s);
}

// The frame the window manager puts around the window: known once the window was
// mapped, estimated from the style before.
QMargins frameOf(const QWidget* window)
{
    if (const QWindow* handle = window->windowHandle()) {
        const QMargins margins = handle->frameMargins();
        if (!margins.isNull())
            return margins;
    }
    const int border = 4;
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return {border, title + border, border, border};
}

QScreen* screenFor(const QWidget* window)
{
    const QPoint centre = window->geometry().center();
    if (QScreen* screen = QGuiApplication::screenAt(centre))
        return screen;
    return QGuiApplication::primaryScreen();
}

class PlaceKeeper : public QObject {
public:
    PlaceKeeper(QWidget* window, QString key)
        : QObject(window), m_window(window), m_key(u"places/"_s + key)
    {
        window->installEventFilter(this);
        m_keepSoon.setSingleShot(true);
        m_keepSoon.setInterval(500);
        connect(&m_keepSoon, &QTimer::timeout, this, &PlaceKeeper::keep);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            if (!event->spontaneous())
                place();
            break;
        case QEvent::Hide:
        case QEvent::Close:
            keep();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            // Kept a moment after the user stops dragging, so that a program
            // that is killed still comes back where it was.
            if (m_window->isVisible())
                m_keepSoon.start();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void place()
    {
        const QByteArray kept = placeSettings().value(m_key).toByteArray();
        const bool restored = !kept.isEmpty() && m_window->restoreGeometry(kept);
        QScreen* screen = nullptr;
        if (!restored && !m_window->testAttribute(Qt::WA_Moved)) {
            // Never placed: centred on the screen of the window in front.
            const QWidget* active = QApplication::activeWindow();
            screen = active ? screenFor(active) : QGuiApplication::primaryScreen();
            QRect centred(QPoint(), m_window->size());
            centred.moveCenter(screen->availableGeometry().center());
            m_window->move(centred.topLeft());
        }
        if (!screen)
            screen = screenFor(m_window);
        if (!screen)
            return;
        const QMargins frame = frameOf(m_window);
        const QRect inside = placedInside(m_window->geometry(), frame, screen->availableGeometry());
        if (inside.size() != m_window->size())
            m_window->resize(inside.size());
        // A top-level window's position is that of its frame.
        const QPoint framePlace = inside.topLeft() - QPoint(frame.left(), frame.top());
        if (inside.topLeft() != m_window->geometry().topLeft() || !restored)
            m_window->move(framePlace);
    }

    void keep()
    {
        m_keepSoon.stop();
        placeSettings().setValue(m_key, m_window->saveGeometry());
    }

    QWidget* m_window;
    QString m_key;
    QTimer m_keepSoon;
};

} // namespace

void rememberPlace(QWidget* window, const QString& key)
{
    new PlaceKeeper(window, key);
}

void forgetPlaces()
{
    placeSettings().remove(u"places"_s);
}

QRect placedInside(const QRect& client, const QMargins& frame, const QRect& available)
{
    const QRect room = available.marginsRemoved(frame);
    QRect placed(client.topLeft(), client.size().boundedTo(room.size()));
    placed.moveLeft(std::clamp(placed.left(), room.left(), room.right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), room.top(), room.bottom() - placed.height() + 1));
    return placed;
}

} // namespace corvanta::windows
