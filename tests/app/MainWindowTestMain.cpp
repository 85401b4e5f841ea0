#include "MainWindowTestSupport.h"
#include "app/Application.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstring>
#include <iterator>
#include <vector>

namespace {

struct TestClass {
    const char* name;
    int (*run)(int argc, char* argv[]);
};

constexpr TestClass testClasses[] = {
    {"fees", mwtest::runFeeTests},
    {"picker", mwtest::runPickerTests},
    {"ledger", mwtest::runLedgerTests},
    {"selltargets", mwtest::runSellTargetTests},
    {"window", mwtest::runWindowTests},
    {"program", mwtest::runProgramTests},
    {"display", mwtest::runDisplayTests},
    {"summary", mwtest::runSummaryTests},
    {"quotes", mwtest::runQuoteTests},
    {"monitor", mwtest::runMonitorTests},
    {"sidewindows", mwtest::runSideWindowTests},
    {"sources", mwtest::runSourceTests},
    {"charts", mwtest::runChartTests},
    {"exchange", mwtest::runDataExchangeTests},
    {"password", mwtest::runPasswordTests},
    // Needs a real X server with a window manager: not run by the offscreen round.
    {"places", mwtest::runPlaceTests},
};

} // namespace

// Runs the main window's test classes one after another, or only the one named
// by the first argument ("fees", "picker", "ledger", "selltargets", "window",
// "program", "display", "summary", "quotes", "monitor", "sidewindows", "sources",
// "charts", "exchange", "password", "places"); the arguments after it go to Qt Test.
// "places" runs only when named.
int main(int argc, char* argv[])
{
    // scripts/test-windows runs these classes on a real X server ("xcb"); ctest
    // sets the offscreen platform otherwise.
    if (const QByteArray platform = qgetenv("CORVANTA_TEST_PLATFORM"); !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    // The account charts' module of this build, unless a test names another.
    if (!qEnvironmentVariableIsSet("CORVANTA_CHARTS_MODULE"))
        qputenv("CORVANTA_CHARTS_MODULE", CORVANTA_CHARTS_MODULE_FILE);
    // The program's own application object, with its last line of defence.
    corvanta::app::Application app(argc, argv);
    // Remembered window places go to a test folder, not the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    // Each run of this program keeps them in a folder of its own: ctest runs several
    // at once, and every test starts by forgetting the places it finds.
    const QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    std::vector<char*> args(argv, argv + argc);
    const char* only = nullptr;
    if (args.size() > 1 && args[1][0] != '-') {
        only = args[1];
        args.erase(args.begin() + 1);
    }
    int failures = 0;
    bool ran = false;
    for (const TestClass& test : testClasses) {
        if (only ? std::strcmp(only, test.name) != 0 : std::strcmp(test.name, "places") == 0)
            continue;
        ran = true;
        failures += test.run(int(args.size()), args.data());
    }
    return ran && failures == 0 ? 0 : 1;
}
