#include "DetailRefreshController.h"

#include "DetailRefresh.h"

#include <QGroupBox>
#include <QTimer>

namespace corvanta::windows {

DetailRefreshController::DetailRefreshController(QGroupBox& headerGroup, QGroupBox& ladderGroup,
                                                 QObject* parent)
    : QObject(parent), m_headerGroup(headerGroup), m_ladderGroup(ladderGroup),
      m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &DetailRefreshController::tick);
}

void DetailRefreshController::start(int index)
{
    const RefreshInterval& interval = refreshIntervals().at(index);
    m_timer->start(interval.milliseconds);
    m_ladderGroup.setTitle(interval.caption);
}

void DetailRefreshController::stop()
{
    m_timer->stop();
}

void DetailRefreshController::reset()
{
    m_timer->stop();
    m_headerGroup.setTitle(QString());
}

void DetailRefreshController::tick()
{
    Q_EMIT refreshDue();
    m_headerGroup.setTitle(nextRefreshMarker(m_headerGroup.title()));
}

} // namespace corvanta::windows
