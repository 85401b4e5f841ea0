#pragma once

#include <QString>
#include <QStringList>

namespace corvanta::market {

// Why a fetch failed; each is one failure to the workers, which show it their way.
enum class QuoteFailure {
    None,
    TooLarge,   // the reply grew past the size bound
    HttpStatus, // the server answered with a status other than 2xx
    Connection, // refused, dropped, no route or host (through a proxy too)
    TimedOut,   // nothing arrived within the transfer time-out
    ShortReply, // the body held no record (fewer than two lines, not the source's layout)
    EmptyReply, // the server answered with an empty body
    Cancelled,  // the caller cancelled the job
};

// The outcome of one request.
struct QuoteResult {
    QuoteFailure failure = QuoteFailure::None;
    QStringList records; // the record lines, when it succeeded
    int httpStatus = 0;  // 0 when no status line arrived
    QString source = {}; // the name of the source that gave this outcome (the last one asked)

    bool ok() const { return failure == QuoteFailure::None; }
};

} // namespace corvanta::market
