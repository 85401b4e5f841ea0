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

// The frame the window manager puts around the window: known while it is mapped,
// else the one it had when last kept, else estimated from the style.
QMargins frameOf(const QWidget* window, const QMargins& known)
{
    if (const QWindow* handle = window->windowHandle()) {
        const QMargins margins = handle->frameMargins();
        if (!margins.isNull())
            return margins;
    }
    if (!known.isNull())
        return known;
    // Generous: a window manager's border and handle are rarely wider.
    const int border = 8;
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
        const QRect kept = placeSettings().value(m_key).toRect();
        const QRect frame = placeSettings().value(m_key + u"-frame"_s).toRect();
        const QMargins knownFrame(frame.x(), frame.y(), frame.width(), frame.height());
        QRect client = m_window->geometry();
        QScreen* screen = nullptr;
        if (kept.isValid()) {
            client = kept;
        } else if (!m_window->testAttribute(Qt::WA_Moved)) {
            // Never placed: centred on the screen of the window in front.
            const QWidget* active = QApplication::activeWindow();
            screen =
                active && active != m_window ? screenFor(active) : QGuiApplication::primaryScreen();
            client.moveCenter(screen->availableGeometry().center());
        }
        if (!screen)
            screen = QGuiApplication::screenAt(client.center());
        if (!screen) // kept on a screen that is gone
            screen = QGuiApplication::primaryScreen();
        if (!screen)
            return;
        // The client rectangle is placed, not the frame: the window manager keeps
        // it where asked, whereas a frame position comes back off by the error of
        // Qt's guess at the frame, more with every reopening.
        const QRect inside =
            placedInside(client, frameOf(m_window, knownFrame), screen->availableGeometry());
        if (inside != m_window->geometry())
            m_window->setGeometry(inside);
    }

    void keep()
    {
        m_keepSoon.stop();
        QSettings settings = placeSettings();
        settings.setValue(m_key, m_window->geometry());
        // The frame as the window manager drew it, for placing before it draws it
        // again (left, top, right, bottom).
        if (const QWindow* handle = m_window->windowHandle(); handle && m_window->isVisible()) {
            const QMargins m = handle->frameMargins();
            if (!m.isNull())
                settings.setValue(m_key + u"-frame"_s,
                                  QRect(m.left(), m.top(), m.right(), m.bottom()));
        }
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
