#include "LedgerChecksums.h"
#include "app/CommandLine.h"
#include "ledger/FeeRuleSetting.h"
#include "ledger/LedgerFile.h"
#include "ledger/SeedList.h"
#include "ledger/sql/Statement.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace corvanta;

// yearly and reprice on a ledger file: exit code, what is said, the csv written,
// and the ledger's bytes, which neither command changes.
class ReportCommandsTest : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    QString ledgerPath() const { return path(u"gpmc.mdb"_s); }

    QByteArray ledgerHash() const { return testsupport::fileSha256(ledgerPath()); }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
        db.exec("DELETE FROM gpjl");
        // A buy of 2024 priced with the old rules (stamp duty on buys, 1 yuan per
        // 1,000 Shanghai shares) and a sell priced by the rules of its date.
        db.exec("INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,费用,总金额,虚拟卖出,"
                "印花税,佣金,过户费等,其它费用) VALUES "
                "('2023-12-29','600000','浦发银行','买入',1000,10,46,10046,'假',10,30,6,5),"
                "('2024-01-02','600000','浦发银行','卖出',1000,12,20.12,11979.88,'假',6,9,5.12,5)");
        db.exec("INSERT INTO gpmc (gpid,gpmc) VALUES ('sxfsd','3'),('mcsxf','0.75'),"
                "('yhssd','1'),('mcyhs','1')");
    }

    void commands_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("byDate");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("csv");

        QTest::newRow("yearly")
            << QStringList{u"yearly"_s, u"@/y.csv"_s} << false << 0 << u"年度对账已导出到"_s
            << u"年度,买入支付,卖出收入,已实现盈亏,分红派息,红利税,佣金,印花税,过户费,其他费用,"
               "费用合计,交易笔数,年末持仓成本\r\n"
               "2023,10046.00,0.00,0.00,0.00,0.00,30.00,10.00,1.00,5.00,46.00,1,10046.00\r\n"
               "2024,0.00,11979.88,1933.88,0.00,0.00,9.00,6.00,0.12,5.00,20.12,1,0.00\r\n"
               "合计,10046.00,11979.88,1933.88,0.00,0.00,39.00,16.00,1.12,10.00,66.12,2,0.00\r\n"_s;
        QTest::newRow("yearly without file")
            << QStringList{u"yearly"_s} << false << 2 << u"缺少文件名"_s << QString();
        QTest::newRow("yearly into a missing folder")
            << QStringList{u"yearly"_s, u"/nonexistent-folder/y.csv"_s} << false << 1
            << u"无法写入"_s << QString();
        QTest::newRow("reprice by date lists the buy")
            << QStringList{u"reprice"_s, u"--dry-run"_s} << true << 0
            << u"2023-12-29 600000 浦发银行 买入 1000股 @ 10：记录 印花税 10.00，佣金 30.00，"
               "过户费 1.00；按规则 印花税 0.00，佣金 30.00，过户费 0.10\n"
               "共 1 笔交易的费用与所选规则不同。账本没有任何改动。"_s
            << QString();
        QTest::newRow("reprice with the rates set lists the sell")
            << QStringList{u"reprice"_s, u"--dry-run"_s} << false << 0
            << u"2024-01-02 600000 浦发银行 卖出 1000股 @ 12：记录 印花税 6.00，佣金 9.00，"
               "过户费 0.12；按规则 印花税 12.00，佣金 9.00，过户费 1.00\n共 1 笔"_s
            << QString();
        QTest::newRow("reprice without --dry-run")
            << QStringList{u"reprice"_s} << true << 2 << u"--dry-run"_s << QString();
        QTest::newRow("reprice with a file")
            << QStringList{u"reprice"_s, u"x.csv"_s, u"--dry-run"_s} << true << 2
            << u"无法理解“x.csv”"_s << QString();
    }
    void commands()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, byDate);
        QFETCH(int, code);
        QFETCH(QString, says);
        QFETCH(QString, csv);
        if (byDate) {
            auto db = ledger::openLedger(ledgerPath(), ledger::loadSeedList());
            ledger::saveFeeRuleSetting(db, {FeeRuleChoice::ByTradeDate, 5});
        }
        for (QString& word : arguments)
            word.replace(u"@"_s, m_dir->path());
        const QByteArray before = ledgerHash();

        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(app::runCommandLine(arguments, ledgerPath(), outStream, errStream), code);
        const QString said = out + err;
        QVERIFY2(said.contains(says), qPrintable(said));
        QCOMPARE(ledgerHash(), before);
        if (!csv.isEmpty()) {
            QFile file(path(u"y.csv"_s));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(file.readAll()).remove(QChar(0xFEFF)), csv);
        }
    }

    void helpNamesTheNewCommands()
    {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        QCOMPARE(app::runCommandLine({u"--help"_s}, ledgerPath(), outStream, errStream), 0);
        QVERIFY(out.contains(u"yearly FILE.csv"_s));
        QVERIFY(out.contains(u"reprice --dry-run"_s));
    }
};

QTEST_GUILESS_MAIN(ReportCommandsTest)
#include "ReportCommandsTest.moc"
