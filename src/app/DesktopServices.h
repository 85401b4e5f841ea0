#pragma once

#include <QString>
#include <QStringList>

class QUrl;

namespace corvanta::app {

// What the program asks of the desktop: a web page in the user's browser and the
// system calculator. Behind an interface so windows can be tested without either.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // Opens the address in the default browser; false when nothing could open it.
    virtual bool openUrl(const QUrl& url) = 0;
    // Starts a desktop calculator on its own; false when none is installed or it
    // failed to start, and the caller shows calculatorMissingMessage().
    virtual bool startCalculator() = 0;
};

// The real desktop: QDesktopServices and the first calculator found on PATH.
class SystemDesktopServices : public DesktopServices {
public:
    bool openUrl(const QUrl& url) override;
    bool startCalculator() override;
};

// The calculators tried, in order of preference.
QStringList calculatorPrograms();
// The full path of the first of calculatorPrograms() on PATH; empty when none is.
QString findCalculator();
// The message shown when no calculator could be started.
QString calculatorMissingMessage();
// The message shown when no browser opened the address.
QString browserFailedMessage(const QUrl& url);

} // namespace corvanta::app
