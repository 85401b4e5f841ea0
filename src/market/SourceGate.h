#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

namespace corvanta::market {

// How a request to a source ended, as far as the gate's pace is concerned.
enum class GateOutcome {
    Good,    // a quote reply: the pause goes back to its base
    Refused, // refused, dropped or an empty reply: the pause doubles, up to a minute
    Neutral, // anything else (time-out, cancel, a reply not in the layout)
};

// The pace of the requests to one source, shared by every fetch that goes there:
// never more than one request at a time, at least the pause between the end of
// one and the start of the next, the pause doubled after each refusal or empty
// reply (no source documents a safe rate, and bursts are reported to be banned).
class SourceGate : public QObject {
    Q_OBJECT

public:
    using Ticket = quint64;

    // The longest pause a run of refusals reaches.
    static constexpr std::chrono::milliseconds maxPause{60000};

    SourceGate(QString sourceName, std::chrono::milliseconds basePause, QObject* parent = nullptr);

    const QString& sourceName() const { return m_name; }

    // Queues a request: `send` runs when the source is free and the pause since the
    // last request has passed (at once when it already has). The holder of the ticket
    // calls release() when the request ends, or withdraw() to give up its turn.
    Ticket enqueue(std::function<void()> send);
    void release(Ticket ticket, GateOutcome outcome);
    void withdraw(Ticket ticket);

    std::chrono::milliseconds pause() const { return m_pause; }
    std::chrono::milliseconds basePause() const { return m_base; }
    bool isBusy() const { return m_active != 0; }
    qsizetype waiting() const { return m_queue.size(); }

Q_SIGNALS:
    // A request to this source got a quote reply.
    void answered(const QString& sourceName);
    // The pause changed (a refusal doubled it or a good reply reset it).
    void pauseChanged(qint64 milliseconds);

private:
    struct Waiter {
        Ticket ticket;
        std::function<void()> send;
    };

    std::chrono::milliseconds untilFree() const;
    void schedule();
    void sendNext();
    void ended();

    QString m_name;
    std::chrono::milliseconds m_base;
    std::chrono::milliseconds m_pause;
    QList<Waiter> m_queue;
    Ticket m_active = 0;
    Ticket m_lastTicket = 0;
    QElapsedTimer m_sinceEnd; // invalid until a request has ended
    QTimer m_timer;
};

} // namespace corvanta::market
