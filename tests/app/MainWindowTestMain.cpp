#include "MainWindowTestSupport.h"

#include <QApplication>

// Runs the main window's test classes one after another.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    int failures = 0;
    for (auto run : {mwtest::runFeeTests, mwtest::runPickerTests, mwtest::runLedgerTests,
                     mwtest::runSellTargetTests, mwtest::runWindowTests, mwtest::runDisplayTests})
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
