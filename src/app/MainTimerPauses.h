#pragma once

#include <functional>

namespace corvanta::app {

// The windows that stop the main window's 2-second timer while they show.
enum class MainTimerPause {
    Monitor,   // the monitor window and its floating bar
    DateRange, // the monitor list's date range, which may show beside the monitor
    Journal,
    Backup,
    Import,
    StockEditor,
};

// The pauses of the main window's 2-second timer. Each window holds its own
// reason while it shows; the timer runs again only once no reason holds, so one
// window closing does not restart it under another that still shows. Holding a
// reason twice, or releasing one that is not held, changes nothing.
class MainTimerPauses {
public:
    // Runs (true) or stops the timer.
    using Switch = std::function<void(bool run)>;
    explicit MainTimerPauses(Switch timer);

    void hold(MainTimerPause reason);
    void release(MainTimerPause reason);
    // Holds the reason when `paused`, releases it otherwise.
    void set(MainTimerPause reason, bool paused);

    bool holds(MainTimerPause reason) const;
    bool paused() const { return m_held != 0; }

private:
    static unsigned bit(MainTimerPause reason) { return 1u << unsigned(reason); }

    Switch m_timer;
    unsigned m_held = 0;
};

} // namespace corvanta::app
