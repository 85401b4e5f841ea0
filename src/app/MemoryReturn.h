#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class QWidget;

namespace corvanta::sql {
class Database;
}

namespace corvanta::app {

// Gives memory back once a window that read much of the ledger has closed. As a
// job after the close: the window is let go of when its owner asked for that (it
// is built again when next opened), the ledger connection's page cache is emptied
// (its pages are read again when next needed) and the allocator hands its free
// pages back to the system, which it otherwise keeps for later allocations.
// Building a report frees as much as it keeps: once a watched window has shown,
// and once the summary is built, the allocator's free pages are handed back too.
class MemoryReturn : public QObject {
    Q_OBJECT
public:
    MemoryReturn(sql::Database& db, QObject* parent = nullptr);

    // Watches `window` for its showing and its closing. `release`, when given,
    // lets go of the window; it runs only if the window is still hidden when the
    // job runs.
    void watch(QWidget* window, std::function<void()> release = {});

    // Gives back now what closed windows left: the job itself.
    void handBack();

    // Hands the allocator's free pages back as a job, after something was built.
    void afterBuilding();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watched {
        QPointer<QWidget> window;
        std::function<void()> release;
    };

    sql::Database& m_db;
    QList<Watched> m_watched;
    QTimer m_job;
    QTimer m_trim;
};

} // namespace corvanta::app
