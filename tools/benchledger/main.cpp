// Writes a ledger file of generated trades, keyed like the program's own:
//     corvanta-bench-ledger FILE [--trades 100000] [--stocks 500]
// An existing FILE is replaced.

#include "GeneratedLedger.h"

#include "ledger/LedgerFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace corvanta;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Writes a ledger file of generated trades."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"file"_s, u"the ledger file to write (replaced)"_s);
    const QCommandLineOption trades(u"trades"_s, u"how many trades (100000)"_s, u"n"_s,
                                    u"100000"_s);
    const QCommandLineOption stocks(u"stocks"_s, u"over how many stocks (500)"_s, u"n"_s, u"500"_s);
    parser.addOption(trades);
    parser.addOption(stocks);
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    const int tradeCount = parser.value(trades).toInt();
    const int stockCount = parser.value(stocks).toInt();
    if (files.size() != 1 || tradeCount < 0 || stockCount <= 0)
        parser.showHelp(2);
    QFile::remove(files.first());
    try {
        sql::Database db = ledger::openLedger(files.first(), tools::benchStocks(stockCount));
        tools::fillBenchLedger(db, tradeCount, stockCount);
    } catch (const ledger::LedgerOpenError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    } catch (const sql::Error& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
