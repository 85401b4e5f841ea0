// The import window's third choice: a statement read by its column names is
// previewed, a column remapped, and imported as the fixed layouts are.
#include "../exchange/GenericLayouts.h"
#include "../exchange/XlsReaders.h"
#include "ScriptedPrompter.h"
#include "exchange/GenericPreviewModel.h"
#include "ledger/LedgerFile.h"
#include "ledger/SafetyCopies.h"
#include "ledger/sql/Statement.h"
#include "windows/FileChooser.h"
#include "windows/GenericImportPanel.h"
#include "windows/ImportWindow.h"
#include "windows/Prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;
using exchange::GenericPreviewModel;
using exchange::StatementField;

namespace {

class ScriptedFiles : public windows::FileChooser {
public:
    QString openFile(const QString& filter) override
    {
        filters << filter;
        return chosen;
    }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chosen;
    QStringList filters;
};

// A statement whose 手续费 column holds the whole fee and 佣金 only part of it.
const QString twoFeeColumns =
    u"成交日期,证券代码,证券名称,操作,成交数量,成交均价,成交金额,佣金,手续费,印花税,过户费\n"
    "2024-01-05,600036,招商银行,证券买入,1000,30.50,30500,9.15,12,0,1\n"
    "2024-01-06,,,银行转证券,,,,,,,\n"
    "2024-01-07,600036,招商银行,证券卖出,abc,30.50,30500,9.15,12,0,1\n"_s;

} // namespace

class GenericImportWindowTest : public QObject {
    Q_OBJECT

    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    windows::GenericImportPanel* panel() const { return m_window->genericPanel(); }
    QComboBox* choice(StatementField field) const { return panel()->columnChoice(field); }
    std::unique_ptr<QSettings> settings() const
    {
        return std::make_unique<QSettings>(path(u"settings.ini"_s), QSettings::IniFormat);
    }
    void makeWindow()
    {
        m_window = std::make_unique<windows::ImportWindow>(*m_db, m_notifier, m_prompter, m_files);
        panel()->useSettings(settings());
        m_window->brokers()->setCurrentIndex(m_window->brokers()->count() - 1);
    }
    void open(const QString& name)
    {
        m_files.chosen = path(name);
        m_window->browse();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::optional<sql::Database> m_db;
    ledger::LedgerNotifier m_notifier;
    test::ScriptedPrompter m_prompter;
    ScriptedFiles m_files;
    std::unique_ptr<windows::ImportWindow> m_window;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_db.emplace(ledger::openLedger(path(u"gpmc.mdb"_s), {}));
        m_db->exec("DELETE FROM gpjl");
        m_prompter = {};
        m_files = {};
        makeWindow();
    }
    void cleanup()
    {
        m_window.reset();
        m_db.reset();
        QVERIFY(!QApplication::activeModalWidget());
    }

    void theThirdChoiceShowsThePanelInsteadOfTheList()
    {
        QCOMPARE(m_window->brokers()->currentText(), u"通用交割单（按列名识别）"_s);
        QVERIFY(!panel()->isHidden());
        QVERIFY(m_window->memoGroup()->isHidden());
        QVERIFY(m_window->textKind()->isHidden() ||
                m_window->textKind()->parentWidget()->isHidden());
        m_window->brokers()->setCurrentIndex(0);
        QVERIFY(!m_window->textKind()->parentWidget()->isHidden());
        QVERIFY(panel()->isHidden());
        QVERIFY(!m_window->memoGroup()->isHidden());
        QCOMPARE(m_window->memoGroup()->title(), u"首创证券  交易记录导入列表"_s);
    }

    void aWorkbookIsPreviewedRemappedAndImported()
    {
        QFile workbook(QStringLiteral(STATEMENT_WORKBOOKS "/statement.xlsx"));
        QVERIFY(workbook.open(QIODevice::ReadOnly));
        writeFile(u"statement.xlsx"_s, workbook.readAll());
        open(u"statement.xlsx"_s);
        QVERIFY(m_files.filters.last().contains(u"*.xlsx"_s));

        QVERIFY2(panel()->description()->text().contains(u"Excel (.xlsx)"_s),
                 qPrintable(panel()->description()->text()));
        QVERIFY(panel()->description()->text().contains(u"表头（第 2 行）"_s));
        QCOMPARE(choice(StatementField::Date)->currentText(), u"3. 交收日期"_s);
        QCOMPARE(choice(StatementField::OtherFees)->currentText(), u"（无）"_s);
        GenericPreviewModel* model = panel()->previewModel();
        QCOMPARE(model->rowCount(), 6); // four trades, a dividend and a transfer
        QCOMPARE(model->rowTexts(0).mid(1, 6),
                 (QStringList{u"2024-01-05"_s, u"600036"_s, u"招商银行"_s, u"买入"_s, u"1000"_s,
                              u"30.5"_s}));
        QCOMPARE(model->rowRgb(0), GenericPreviewModel::tradeRgb);
        QCOMPARE(model->rowRgb(2), GenericPreviewModel::skippedRgb);
        QVERIFY(model->rowTexts(2).last().contains(u"红利入账"_s));
        const QColor shown =
            panel()->preview()->model()->index(2, 0).data(Qt::ForegroundRole).value<QColor>();
        QCOMPARE(shown.rgb() & 0xFFFFFF, GenericPreviewModel::skippedRgb);
        QVERIFY(m_window->importButton()->isEnabled());

        // The net amount read as the amount: every trade is off and warned of.
        QComboBox* amount = choice(StatementField::Amount);
        amount->setCurrentIndex(amount->findText(u"11. 清算金额"_s));
        QCOMPARE(panel()->statement().warnings.size(), 4);
        QCOMPARE(model->rowRgb(0), GenericPreviewModel::warningRgb);
        QVERIFY(model->rowTexts(0).last().contains(u"发生金额 30510.15"_s));
        amount->setCurrentIndex(amount->findText(u"7. 成交金额"_s));
        // The commission left out: priced by the fee rules instead of as given.
        QComboBox* commission = choice(StatementField::Commission);
        commission->setCurrentIndex(commission->findText(u"（无）"_s));
        QCOMPARE(panel()->statement().mapping[StatementField::Commission], -1);
        QVERIFY(panel()->statement().parsed.trades.first().commission != 9.15);
        commission->setCurrentIndex(commission->findText(u"8. 佣金"_s));
        QCOMPARE(panel()->statement().parsed.trades.first().commission, 9.15);

        m_prompter.answers = {true, false};
        QSignalSpy ended(m_window.get(), &windows::ImportWindow::importEnded);
        m_window->importButton()->click();
        QVERIFY(ended.wait(20000));
        QVERIFY(ended.first().first().toBool());
        QVERIFY2(m_prompter.messages.last().startsWith(u"导入完成"_s),
                 qPrintable(m_prompter.messages.last()));
        QCOMPARE(m_db->scalarInt("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'"), 4);
        QCOMPARE(m_db->scalarInt("SELECT 数量 FROM gpjl WHERE 虚拟卖出='真' AND 股票名='招商银行'"),
                 500);
        QCOMPARE(m_db->scalarInt("SELECT count(*) FROM gpmc WHERE gpid='000001' AND "
                                 "gpmc='平安银行' AND gppy='PAYX'"),
                 1);
        QCOMPARE(ledger::SafetyCopies(path(u"gpmc.mdb"_s)).copies().size(), 1);
    }

    void aChangedMappingIsRememberedForTheSameHeader()
    {
        writeFile(u"a.csv"_s, twoFeeColumns.toUtf8());
        open(u"a.csv"_s);
        QCOMPARE(choice(StatementField::Commission)->currentText(), u"8. 佣金"_s);
        QCOMPARE(panel()->statement().parsed.trades.first().commission, 9.15);
        // A refused line in red with its reason.
        GenericPreviewModel* model = panel()->previewModel();
        QCOMPARE(model->rowRgb(2), GenericPreviewModel::refusedRgb);
        QVERIFY(model->rowTexts(2).last().contains(u"数量不是整数"_s));

        QComboBox* commission = choice(StatementField::Commission);
        commission->setCurrentIndex(commission->findText(u"9. 手续费"_s));
        QCOMPARE(panel()->statement().parsed.trades.first().commission, 12.0);

        // Another window, another file with the same header: read the same way.
        makeWindow();
        writeFile(u"b.csv"_s, twoFeeColumns.toUtf8());
        open(u"b.csv"_s);
        QCOMPARE(choice(StatementField::Commission)->currentText(), u"9. 手续费"_s);
        QCOMPARE(panel()->statement().parsed.trades.first().commission, 12.0);

        // A file with another header is not.
        QString other = twoFeeColumns;
        other.replace(u"过户费"_s, u"过户费(元)"_s);
        writeFile(u"c.csv"_s, other.toUtf8());
        open(u"c.csv"_s);
        QCOMPARE(choice(StatementField::Commission)->currentText(), u"8. 佣金"_s);
    }

    // A damaged legacy workbook, or a reader that goes wrong, is described in the
    // panel; nothing asks, nothing can be imported, and the next file is read.
    // The workbook is read while the window goes on.
    void aDamagedWorkbookIsRefusedAndTheWindowGoesOn_data()
    {
        QTest::addColumn<QByteArray>("reader"); // a fake reader's script; empty: this build's
        QTest::addColumn<QString>("says");
        // The library's refusal, or the reader's fault where it is built with
        // AddressSanitizer: any reason.
        QTest::newRow("string records the library misreads") << QByteArray() << QString();
        QTest::newRow("the reader crashes")
            << exchange::xlsreaders::crashes << u"读取程序意外终止，文件可能已损坏"_s;
        QTest::newRow("the reader hangs")
            << exchange::xlsreaders::hangs << u"读取超过 10 秒，已停止"_s;
    }
    void aDamagedWorkbookIsRefusedAndTheWindowGoesOn()
    {
        QFETCH(QByteArray, reader);
        QFETCH(QString, says);
        {
            std::optional<exchange::xlsreaders::FakeReader> fake;
            if (!reader.isEmpty())
                fake.emplace(reader);
            QVERIFY(QFile::copy(exchange::xlsreaders::damagedWorkbook, path(u"damaged.xls"_s)));
            open(u"damaged.xls"_s);
            QCOMPARE(panel()->description()->text(), u"正在读取 Excel 文件……"_s);
            QVERIFY(!m_window->importButton()->isEnabled());
            QTRY_VERIFY2_WITH_TIMEOUT(
                panel()->description()->text().contains(u"无法读取该 Excel 文件："_s + says),
                qPrintable(panel()->description()->text()), 15'000);
        }
        QVERIFY(!m_window->importButton()->isEnabled());
        QVERIFY(m_prompter.questions.isEmpty());
        QVERIFY(!QApplication::activeModalWidget());

        QVERIFY(QFile::copy(QStringLiteral(STATEMENT_WORKBOOKS "/statement.xls"),
                            path(u"statement.xls"_s)));
        open(u"statement.xls"_s);
        QTRY_VERIFY(m_window->importButton()->isEnabled());
        QVERIFY2(panel()->description()->text().contains(u"Excel 97-2003 (.xls)"_s),
                 qPrintable(panel()->description()->text()));
        QCOMPARE(panel()->previewModel()->rowCount(), 7); // four trades, five skipped lines
    }

    // Another file chosen while a workbook is still read: the later one is shown.
    void aFileChosenWhileAWorkbookIsReadWins()
    {
        {
            exchange::xlsreaders::FakeReader fake(exchange::xlsreaders::hangs);
            QVERIFY(QFile::copy(exchange::xlsreaders::damagedWorkbook, path(u"damaged.xls"_s)));
            open(u"damaged.xls"_s);
            QTest::qWait(100);
            writeFile(u"x.txt"_s, "just words\n1,2,3\n");
            open(u"x.txt"_s);
        }
        QTest::qWait(200);
        QVERIFY(panel()->description()->text().contains(u"没有找到表头"_s));
    }

    void aFileWithoutHeaderCannotBeImported()
    {
        writeFile(u"x.txt"_s, "just words\n1,2,3\n");
        open(u"x.txt"_s);
        QVERIFY(panel()->description()->text().contains(u"没有找到表头"_s));
        QVERIFY(!m_window->importButton()->isEnabled());
        QVERIFY(!choice(StatementField::Date)->isEnabled());
    }
};

QTEST_MAIN(GenericImportWindowTest)
#include "GenericImportWindowTest.moc"
