#include "MemoryReturn.h"

#include "ledger/sql/Database.h"

#include <QEvent>
#include <QWidget>

#include <malloc.h>

#include <utility>

namespace corvanta::app {

MemoryReturn::MemoryReturn(sql::Database& db, QObject* parent) : QObject(parent), m_db(db)
{
    m_job.setSingleShot(true);
    m_job.setInterval(0);
    connect(&m_job, &QTimer::timeout, this, &MemoryReturn::handBack);
    m_trim.setSingleShot(true);
    m_trim.setInterval(0);
    connect(&m_trim, &QTimer::timeout, this, [] { malloc_trim(0); });
}

void MemoryReturn::afterBuilding()
{
    m_trim.start();
}

void MemoryReturn::watch(QWidget* window, std::function<void()> release)
{
    window->installEventFilter(this);
    m_watched.append({window, std::move(release)});
}

bool MemoryReturn::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close)
        m_job.start();
    else if (event->type() == QEvent::Show)
        afterBuilding();
    return QObject::eventFilter(watched, event);
}

void MemoryReturn::handBack()
{
    // A release may destroy its window: take the list first.
    const QList<Watched> watched = std::exchange(m_watched, {});
    for (const Watched& w : watched) {
        if (!w.window)
            continue;
        if (w.release && !w.window->isVisible())
            w.release();
        else
            m_watched.append(w);
    }
    try {
        m_db.exec("PRAGMA shrink_memory");
    } catch (const sql::Error&) {
        // Only memory: the cache stays as it was.
    }
    malloc_trim(0);
}

} // namespace corvanta::app
