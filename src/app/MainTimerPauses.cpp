#include "MainTimerPauses.h"

#include <utility>

namespace corvanta::app {

MainTimerPauses::MainTimerPauses(Switch timer) : m_timer(std::move(timer)) {}

// A hold always stops the timer: something else (the refresh switch) may have
// started it under an earlier hold.
void MainTimerPauses::hold(MainTimerPause reason)
{
    m_held |= bit(reason);
    m_timer(false);
}

void MainTimerPauses::release(MainTimerPause reason)
{
    if (!holds(reason))
        return;
    m_held &= ~bit(reason);
    if (m_held == 0)
        m_timer(true);
}

void MainTimerPauses::set(MainTimerPause reason, bool paused)
{
    if (paused)
        hold(reason);
    else
        release(reason);
}

bool MainTimerPauses::holds(MainTimerPause reason) const
{
    return (m_held & bit(reason)) != 0;
}

} // namespace corvanta::app
