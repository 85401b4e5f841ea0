#include "SourceGate.h"

#include <algorithm>

namespace corvanta::market {

SourceGate::SourceGate(QString sourceName, std::chrono::milliseconds basePause, QObject* parent)
    : QObject(parent), m_name(std::move(sourceName)), m_base(basePause), m_pause(basePause)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SourceGate::sendNext);
}

SourceGate::Ticket SourceGate::enqueue(std::function<void()> send)
{
    const Ticket ticket = ++m_lastTicket;
    m_queue.append({ticket, std::move(send)});
    if (m_active == 0 && m_queue.size() == 1 && untilFree().count() <= 0)
        sendNext();
    else
        schedule();
    return ticket;
}

void SourceGate::release(Ticket ticket, GateOutcome outcome)
{
    if (ticket == 0 || ticket != m_active) {
        withdraw(ticket);
        return;
    }
    const std::chrono::milliseconds before = m_pause;
    if (outcome == GateOutcome::Good)
        m_pause = m_base;
    else if (outcome == GateOutcome::Refused)
        m_pause = std::min(maxPause, std::max(m_pause, std::chrono::milliseconds(1)) * 2);
    ended();
    if (m_pause != before)
        Q_EMIT pauseChanged(m_pause.count());
    if (outcome == GateOutcome::Good)
        Q_EMIT answered(m_name);
}

void SourceGate::withdraw(Ticket ticket)
{
    if (ticket == 0)
        return;
    if (ticket == m_active) {
        ended();
        return;
    }
    m_queue.removeIf([ticket](const Waiter& w) { return w.ticket == ticket; });
}

std::chrono::milliseconds SourceGate::untilFree() const
{
    if (!m_sinceEnd.isValid())
        return std::chrono::milliseconds(0);
    return m_pause - std::chrono::milliseconds(m_sinceEnd.elapsed());
}

void SourceGate::schedule()
{
    if (m_active != 0 || m_queue.isEmpty() || m_timer.isActive())
        return;
    // Always through the event loop: a request never starts inside another's end.
    m_timer.start(std::max(std::chrono::milliseconds(0), untilFree()));
}

void SourceGate::sendNext()
{
    if (m_active != 0 || m_queue.isEmpty())
        return;
    if (untilFree().count() > 0) {
        schedule();
        return;
    }
    Waiter next = m_queue.takeFirst();
    m_active = next.ticket;
    next.send();
}

void SourceGate::ended()
{
    m_active = 0;
    m_sinceEnd.start();
    m_timer.stop();
    schedule();
}

} // namespace corvanta::market
