// `corvanta import FILE --broker generic`: what the run says, its exit code, and
// the ledger afterwards (by the sha256 of its rows) against the same trades
// written by hand.
#include "../exchange/GenericLayouts.h"
#include "../exchange/XlsReaders.h"
#include "LedgerChecksums.h"
#include "app/CommandLine.h"
#include "calc/Numbers.h"
#include "exchange/PinyinCode.h"
#include "ledger/LedgerFile.h"
#include "ledger/SafetyCopies.h"
#include "ledger/SeedList.h"
#include "ledger/Settings.h"
#include "ledger/StatementImport.h"
#include "ledger/sql/Statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace {

// Every row of the trades and of the stock table, hashed: equal for equal ledgers
// whatever the file's encryption makes of its bytes.
QByteArray ledgerHash(const QString& path)
{
    auto db = ledger::openLedger(path, ledger::loadSeedList());
    return testsupport::rowsDigest(
        db, {"SELECT * FROM gpjl ORDER BY ID", "SELECT * FROM gpmc ORDER BY id"});
}

ledger::StatementTrade byHand(const char16_t* date, const char16_t* code, const char16_t* name,
                              bool buy, qint64 shares, double price, double commission,
                              double stamp, double transfer)
{
    ledger::StatementTrade trade;
    trade.date = QString::fromUtf16(date);
    trade.code = QString::fromUtf16(code);
    trade.name = QString::fromUtf16(name);
    trade.buy = buy;
    trade.operation = buy ? u"买入"_s : u"卖出"_s;
    trade.shares = shares;
    trade.price = price;
    trade.commission = commission;
    trade.stampDuty = stamp;
    trade.transferFee = transfer;
    trade.fees = num::parseNumber(num::general(commission + stamp + transfer + 0)).value();
    const double amount = price * double(shares);
    trade.total =
        num::parseNumber(num::general(buy ? amount + trade.fees : amount - trade.fees)).value();
    trade.addsStock = true;
    trade.pinyin = corvanta::pinyinCode(trade.name).left(8);
    return trade;
}

// Two trades with the fees of the 佣金 column, or with those of the 手续费 column.
QList<ledger::StatementTrade> twoTrades(bool handlingFees)
{
    return {
        byHand(u"2024-01-05", u"600036", u"招商银行", true, 1000, 30.5, handlingFees ? 12 : 9.15, 0,
               1),
        byHand(u"2024-02-01", u"600036", u"招商银行", false, 500, 32, handlingFees ? 6 : 5, 8, 1)};
}

const QByteArray twoTradesFile = exchange::generic::gbk(
    u"交割单\r\n"
    "成交日期\t证券代码\t证券名称\t操作\t成交数量\t成交均价\t成交金额\t佣金\t手续费\t印花税\t过户费"
    "\t"
    "发生金额\r\n"
    "20240105\t600036\t招商银行\t证券买入\t1000\t30.50\t30500\t9.15\t12\t0\t1\t-30510.15\r\n"
    "20240110\t\t\t银行转证券\t\t\t\t\t\t\t\t50000\r\n"
    "20240201\t600036\t招商银行\t证券卖出\t-500\t32\t16000\t5\t6\t8\t1\t15986.00\r\n"_s);

} // namespace

class GenericImportCommandTest : public QObject {
    Q_OBJECT

    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    QString ledgerPath() const { return path(u"gpmc.mdb"_s); }

    // The hash of a fresh ledger with `trades` imported as the command imports them.
    QByteArray referenceHash(const QList<ledger::StatementTrade>& trades) const
    {
        QTemporaryDir dir;
        const QString reference = dir.filePath(u"gpmc.mdb"_s);
        {
            auto db = ledger::openLedger(reference, ledger::loadSeedList());
            if (!trades.isEmpty()) {
                ledger::StatementImportOptions options;
                options.otherFee = ledger::loadSettings(db).rates.buyOtherFee;
                [&] {
                    QVERIFY(ledger::applyStatement(db, trades, options).committed);
                }();
            }
        }
        return ledgerHash(reference);
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        ledger::openLedger(ledgerPath(), ledger::loadSeedList()); // the first start's ledger
    }

    void imports_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<int>("ledger"); // 0 unchanged, 1 the 佣金 trades, 2 the 手续费 trades
        const QStringList yes{u"--yes"_s};
        QTest::newRow("without --yes: the mapping and the first rows, nothing written")
            << twoTradesFile << QStringList() << int(app::CommandMisused)
            << QStringList{u"编码：GBK，分隔符：制表符"_s,
                           u"表头（第 2 行）"_s,
                           u"commission"_s,
                           u"第 3 行：2024-01-05 600036 招商银行 买入 1000 股"_s,
                           u"第 4 行跳过：不是买卖：银行转证券"_s,
                           u"确认导入请加 --yes"_s}
            << 0;
        QTest::newRow("with --yes: the trades as by hand")
            << twoTradesFile << yes << int(app::CommandDone)
            << QStringList{u"导入成功：交易 2 笔"_s, u"安全备份"_s} << 1;
        QTest::newRow("--map takes the commission from another column")
            << twoTradesFile << QStringList{u"--map"_s, u"commission=手续费"_s, u"--yes"_s}
            << int(app::CommandDone) << QStringList{u"commission"_s, u"← 手续费"_s} << 2;
        QTest::newRow("--map=field=number")
            << twoTradesFile << QStringList{u"--map=commission=9"_s, u"--yes"_s}
            << int(app::CommandDone) << QStringList{u"导入成功"_s} << 2;
        QTest::newRow("--map of an unknown field")
            << twoTradesFile << QStringList{u"--map"_s, u"fee=手续费"_s, u"--yes"_s}
            << int(app::CommandMisused) << QStringList{u"无法理解映射“fee=手续费”"_s} << 0;
        QTest::newRow("--map of a column the header lacks")
            << twoTradesFile << QStringList{u"--map"_s, u"commission=规费"_s, u"--yes"_s}
            << int(app::CommandMisused) << QStringList{u"表头中没有“规费”"_s} << 0;
        QTest::newRow("no header: refused")
            << exchange::generic::gbk(u"随便什么\r\n1\t2\t3\r\n"_s) << yes
            << int(app::CommandFailed) << QStringList{u"没有找到表头"_s} << 0;
        QTest::newRow("a header without a trade: refused")
            << exchange::generic::gbk(u"成交日期,证券代码,证券名称,操作,成交数量\r\n"
                                      "20240120,000001,平安银行,红利入账,0\r\n"_s)
            << QStringList{u"--yes"_s, u"--replace"_s} << int(app::CommandFailed)
            << QStringList{u"分红送股暂不导入：红利入账"_s, u"没有读到任何买卖记录"_s} << 0;
        QTest::newRow("a damaged workbook: refused")
            << QByteArray("PK\x03\x04not a zip at all") << yes << int(app::CommandFailed)
            << QStringList{u"不是有效的 .xlsx 文件"_s} << 0;
    }
    void imports()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, words);
        QFETCH(int, code);
        QFETCH(QStringList, says);
        QFETCH(int, ledger);
        {
            QFile statement(path(u"交割单.xls"_s)); // text, whatever the name says
            QVERIFY(statement.open(QIODevice::WriteOnly));
            statement.write(file);
        }
        const QByteArray before = ledgerHash(ledgerPath());
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int exit = app::runCommandLine(
            QStringList{u"import"_s, path(u"交割单.xls"_s), u"--broker"_s, u"generic"_s} + words,
            ledgerPath(), outStream, errStream);
        const QString said = out + err;
        QCOMPARE(exit, code);
        for (const QString& text : says)
            QVERIFY2(said.contains(text), qPrintable(text + u"\n--- not in ---\n"_s + said));
        const QByteArray after = ledgerHash(ledgerPath());
        if (ledger == 0) {
            QCOMPARE(after, before);
            QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), 0);
        } else {
            QCOMPARE(after, referenceHash(twoTrades(ledger == 2)));
            QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), 1);
        }
    }

    void aSecondImportSkipsTheTradesAlreadyThere()
    {
        {
            QFile statement(path(u"s.txt"_s));
            QVERIFY(statement.open(QIODevice::WriteOnly));
            statement.write(twoTradesFile);
        }
        const QStringList import{u"import"_s, path(u"s.txt"_s), u"--broker"_s, u"generic"_s,
                                 u"--yes"_s};
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        QCOMPARE(app::runCommandLine(import, ledgerPath(), outStream, errStream), 0);
        const QByteArray once = ledgerHash(ledgerPath());
        QCOMPARE(app::runCommandLine(import, ledgerPath(), outStream, errStream), 0);
        outStream.flush();
        QVERIFY2(out.contains(u"其中 2 笔与账本中已有的交易相同，将跳过"_s), qPrintable(out));
        QCOMPARE(ledgerHash(ledgerPath()), once);
    }

    // A workbook the parsing library misreads, or a reader that goes wrong: the
    // run says so and ends, the ledger keeps every byte of its rows.
    void aDamagedWorkbookLeavesTheLedgerAlone_data()
    {
        QTest::addColumn<QByteArray>("reader"); // a fake reader's script; empty: this build's
        QTest::addColumn<QString>("says");
        // The library's refusal, or the reader's fault where it is built with
        // AddressSanitizer: any reason.
        QTest::newRow("string records the library misreads") << QByteArray() << QString();
        QTest::newRow("the reader crashes")
            << exchange::xlsreaders::crashes << u"读取程序意外终止，文件可能已损坏"_s;
        QTest::newRow("the reader talks nonsense")
            << exchange::xlsreaders::talksNonsense << u"读取程序的输出无法识别"_s;
    }
    void aDamagedWorkbookLeavesTheLedgerAlone()
    {
        QFETCH(QByteArray, reader);
        QFETCH(QString, says);
        std::optional<exchange::xlsreaders::FakeReader> fake;
        if (!reader.isEmpty())
            fake.emplace(reader);
        QVERIFY(QFile::copy(exchange::xlsreaders::damagedWorkbook, path(u"交割单.xls"_s)));
        const QByteArray before = ledgerHash(ledgerPath());
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int exit = app::runCommandLine(
            {u"import"_s, path(u"交割单.xls"_s), u"--broker"_s, u"generic"_s, u"--yes"_s},
            ledgerPath(), outStream, errStream);
        outStream.flush();
        errStream.flush();
        QCOMPARE(exit, int(app::CommandFailed));
        const QString said = out + err;
        QVERIFY2(said.contains(u"没有导入：无法读取文件（无法读取该 Excel 文件："_s + says),
                 qPrintable(said));
        QVERIFY2(said.contains(u"）。账本没有任何改动。"_s), qPrintable(said));
        QCOMPARE(ledgerHash(ledgerPath()), before);
        QCOMPARE(ledger::SafetyCopies(ledgerPath()).copies().size(), 0);
    }

    // The program itself, as built and as installed, finds its reader: a good
    // workbook imports, the damaged one is refused with the ledger untouched.
    void theProgramFindsItsReader_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("ledger");
        QTest::newRow("beside the program (a build tree or a copy of it)")
            << u"copy/corvanta"_s << u"copy/corvanta-xls-reader"_s << u"copy/gpmc.mdb"_s;
        QTest::newRow("installed")
            << u"usr/bin/corvanta"_s << u"usr/libexec/corvanta/corvanta-xls-reader"_s
            << u"home/.local/share/Corvanta/Corvanta/gpmc.mdb"_s;
    }
    void theProgramFindsItsReader()
    {
        QFETCH(QString, program);
        QFETCH(QString, reader);
        QFETCH(QString, ledger);
        for (const QString& folder :
             {QFileInfo(path(program)).path(), QFileInfo(path(reader)).path(), path(u"home"_s)})
            QVERIFY(QDir().mkpath(folder));
        if (program.startsWith(u"usr/"_s))
            QVERIFY(QDir().mkpath(path(u"usr/share/corvanta"_s))); // marks an installed program
        QVERIFY(QFile::copy(QStringLiteral(CORVANTA_PROGRAM), path(program)));
        QVERIFY(QFile::copy(QStringLiteral(XLS_READER), path(reader)));
        QVERIFY(QFile::copy(QStringLiteral(STATEMENT_WORKBOOKS "/statement.xls"),
                            path(u"statement.xls"_s)));
        QVERIFY(QFile::copy(exchange::xlsreaders::damagedWorkbook, path(u"damaged.xls"_s)));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"CORVANTA_XLS_READER", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(u"HOME"_s, path(u"home"_s));
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        const auto run = [&](const QString& file) {
            QProcess corvanta;
            corvanta.setProcessEnvironment(environment);
            corvanta.setProcessChannelMode(QProcess::MergedChannels);
            corvanta.start(path(program),
                           {u"import"_s, path(file), u"--broker"_s, u"generic"_s, u"--yes"_s});
            const bool ended = corvanta.waitForFinished(60'000);
            return std::pair{
                ended && corvanta.exitStatus() == QProcess::NormalExit ? corvanta.exitCode() : -1,
                QString::fromUtf8(corvanta.readAll())};
        };

        const auto [imported, importSaid] = run(u"statement.xls"_s);
        QVERIFY2(importSaid.contains(u"导入成功：交易 4 笔"_s), qPrintable(importSaid));
        QCOMPARE(imported, int(app::CommandDone));
        const QByteArray before = ledgerHash(path(ledger));

        const auto [refused, refusalSaid] = run(u"damaged.xls"_s);
        QVERIFY2(refusalSaid.contains(u"没有导入：无法读取文件（无法读取该 Excel 文件："_s) &&
                     refusalSaid.contains(u"）。账本没有任何改动。"_s),
                 qPrintable(refusalSaid));
        QCOMPARE(refused, int(app::CommandFailed));
        QCOMPARE(ledgerHash(path(ledger)), before);
    }

    void aWorkbookImportsAsByHand()
    {
        QFile workbook(QStringLiteral(STATEMENT_WORKBOOKS "/statement.xlsx"));
        QVERIFY(workbook.open(QIODevice::ReadOnly));
        QFile copy(path(u"statement.xlsx"_s));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(workbook.readAll());
        copy.close();
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        QCOMPARE(app::runCommandLine({u"import"_s, path(u"statement.xlsx"_s), u"--broker"_s,
                                      u"generic"_s, u"--yes"_s},
                                     ledgerPath(), outStream, errStream),
                 0);
        outStream.flush();
        QVERIFY2(out.contains(u"文件类型：Excel (.xlsx)"_s), qPrintable(out));
        QList<ledger::StatementTrade> trades;
        for (int index : {0, 1, 2, 3}) {
            const auto& hand = exchange::generic::handTrades().at(index);
            trades << byHand(hand.date, hand.code, hand.name, hand.buy, hand.shares, hand.price,
                             hand.commission, hand.stampDuty, hand.transferFee);
        }
        QCOMPARE(ledgerHash(ledgerPath()), referenceHash(trades));
    }
};

QTEST_GUILESS_MAIN(GenericImportCommandTest)
#include "GenericImportCommandTest.moc"
