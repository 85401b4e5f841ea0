// Shows the profit/loss window for a priced buy, for looking at it on a display.
#include "SampleTrade.h"

#include "windows/ProfitLossWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    corvanta::test::SampleTrade trade;
    corvanta::windows::ProfitLossWindow window(trade.form);
    window.open(QRect(0, 0, 1280, 900));
    return app.exec();
}
