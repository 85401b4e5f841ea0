#include "windows/ImportWindow.h"
#include "../exchange/StatementFixtures.h"
#include "ScriptedPrompter.h"
#include "exchange/CsvTableModel.h"
#include "ledger/LedgerFile.h"
#include "ledger/SafetyCopies.h"
#include "ledger/sql/Statement.h"
#include "windows/FileChooser.h"
#include "windows/Prompter.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::exchange::fixtures;

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

QList<ledger::SeedStock> seeds()
{
    return {{u"000709"_s, u"唐钢股份"_s, u"TGGF"_s}};
}

// A statement of `count` buys of 100 stocks in turn, each a day apart.
QByteArray longStatement(int count)
{
    QStringList lines{sczqHeader()};
    const QDate first(2007, 1, 1);
    for (int i = 0; i < count; ++i) {
        Sczq line;
        line.date = first.addDays(i).toString(u"yyyy-MM-dd"_s);
        line.code = QString::number(600000 + i % 100);
        line.name = u"股票"_s + QString::number(i % 100);
        lines << line.line();
    }
    return statementFile(lines);
}

// Answers the message boxes as they show, one answer each: a button clicked, or
// Enter (nullopt). Notes each box's text, its parent and its default button.
class BoxAnswers : public QObject {
public:
    struct Seen {
        QString text;
        QWidget* parent = nullptr;
        QMessageBox::StandardButton preferred = QMessageBox::NoButton;
    };
    explicit BoxAnswers(QList<std::optional<QMessageBox::StandardButton>> answers)
        : m_answers(std::move(answers))
    {
        connect(&m_poll, &QTimer::timeout, this, &BoxAnswers::look);
        m_poll.start(10);
    }
    QList<Seen> seen;

private:
    void look()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == m_last || m_answers.isEmpty())
            return;
        m_last = box;
        const QMessageBox::StandardButton preferred =
            box->defaultButton() ? box->standardButton(box->defaultButton())
                                 : QMessageBox::NoButton;
        seen.append({box->text(), box->parentWidget(), preferred});
        const auto answer = m_answers.takeFirst();
        if (answer)
            QTest::mouseClick(box->button(*answer), Qt::LeftButton);
        else
            QTest::keyClick(box, Qt::Key_Return);
    }

    QList<std::optional<QMessageBox::StandardButton>> m_answers;
    QPointer<QMessageBox> m_last;
    QTimer m_poll;
};

} // namespace

class ImportWindowTest : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->path() + u'/' + name; }
    qint64 trades() { return m_db->scalarInt("SELECT count(*) FROM gpjl WHERE 虚拟卖出='假'"); }
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    bool runImport(QList<bool> answers)
    {
        m_prompter.answers = answers;
        QSignalSpy ended(m_window.get(), &windows::ImportWindow::importEnded);
        m_window->importButton()->click();
        if (!m_window->importing())
            return false;
        return ended.wait(20000) && ended.first().first().toBool();
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
        m_db.emplace(ledger::openLedger(path(u"gpmc.mdb"_s), seeds()));
        m_db->exec("DELETE FROM gpjl");
        m_prompter = {};
        m_files = {};
        m_window = std::make_unique<windows::ImportWindow>(*m_db, m_notifier, m_prompter, m_files);
    }
    void cleanup()
    {
        m_window.reset();
        m_db.reset();
    }

    void controlsFollowTheChoices()
    {
        QVERIFY(!m_window->importButton()->isEnabled());
        m_window->brokers()->setCurrentIndex(1);
        QCOMPARE(m_window->memoGroup()->title(), u"财达证券  交易记录导入列表"_s);
        m_files.chosen.clear();
        m_window->browse();
        QCOMPARE(m_files.filters.last().count(u";;"_s), 3);
        m_window->csvKind()->click();
        m_window->browse();
        QCOMPARE(m_files.filters.last(), u"csv文件 (*.csv);;交易记录 (交易记录.csv)"_s);
        QVERIFY(!m_window->importButton()->isEnabled());
    }

    void aCsvFileIsShownColouredAndNotImported()
    {
        writeFile(u"s.csv"_s,
                  QStringEncoder("GBK").encode(u"日期,代码,名称,数量,操作\r\n"
                                               "2007-05-21,000709,\"唐钢,股份\",100,买入\r\n"
                                               "2007-05-22,000709,唐钢股份,100,卖出\r\n"_s));
        m_window->csvKind()->click();
        m_files.chosen = path(u"s.csv"_s);
        m_window->browse();
        QVERIFY(!m_window->csvGroup()->isHidden());
        QVERIFY(m_window->memoGroup()->isHidden());
        QVERIFY(!m_window->importButton()->isEnabled());
        const QAbstractItemModel* model = m_window->csvView()->model();
        QCOMPARE(model->rowCount(), 3);
        QCOMPARE(model->index(1, 2).data().toString(), u"唐钢,股份"_s);
        QCOMPARE(model->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(model->index(2, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
        QCOMPARE(model->index(0, 0).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(166, 202, 240));
    }

    void importAsksThenWritesAndAnnounces()
    {
        writeFile(u"s.txt"_s, statementFile({u"header text"_s, sczqHeader(), Sczq{}.line()}));
        m_files.chosen = path(u"s.txt"_s);
        m_window->browse();
        QVERIFY(m_window->memo()->toPlainText().contains(u"唐钢股份"_s));
        QSignalSpy changed(&m_notifier, &ledger::LedgerNotifier::changed);
        QVERIFY(runImport({true, false}));
        QCOMPARE(m_prompter.questionTexts(), (QStringList{u"导入如下的交易记录，是否进行？"_s,
                                                          u"导入交易记录，原数据是否清空？"_s}));
        QVERIFY(m_prompter.messages.last().startsWith(u"导入完成"_s));
        QCOMPARE(trades(), 1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(ledger::SafetyCopies(path(u"gpmc.mdb"_s)).copies().size(), 1);
        QVERIFY(m_window->importButton()->isEnabled());
    }

    void answeringNoReloadsTheFileAndChangesNothing()
    {
        writeFile(u"s.txt"_s, statementFile({sczqHeader(), Sczq{}.line()}));
        m_files.chosen = path(u"s.txt"_s);
        m_window->browse();
        QVERIFY(!runImport({false}));
        QCOMPARE(trades(), 0);
        QVERIFY(m_window->memo()->toPlainText().contains(u"成交日期"_s));
        QVERIFY(m_window->importButton()->isEnabled());
    }

    // Read with the wrong broker's layout a statement gives no trade: even with
    // every question answered yes, nothing is asked, copied or written.
    void aStatementOfAnotherLayoutIsRefusedAndLeavesTheLedger()
    {
        writeFile(u"s.txt"_s, statementFile({sczqHeader(), Sczq{}.line()}));
        m_files.chosen = path(u"s.txt"_s);
        m_window->browse();
        QVERIFY(runImport({true, false}));
        const qint64 before = trades();
        writeFile(u"other.txt"_s, statementFile({cdzqHeader(), Cdzq{}.line(), Cdzq{}.line()}));
        m_files.chosen = path(u"other.txt"_s);
        m_window->browse();
        m_prompter = {};
        QVERIFY(!runImport({true, true, true}));
        QCOMPARE(m_prompter.questionTexts(), QStringList());
        QCOMPARE(m_prompter.messages.size(), 1);
        QVERIFY2(m_prompter.messages.first().startsWith(u"没有导入：按“首创证券”的格式"_s),
                 qPrintable(m_prompter.messages.first()));
        QCOMPARE(trades(), before);
        QCOMPARE(ledger::SafetyCopies(path(u"gpmc.mdb"_s)).copies().size(), 1);
        QVERIFY(m_window->memo()->toPlainText().contains(u"浦发银行"_s));
        QVERIFY(m_window->importButton()->isEnabled());
    }

    // A file copied from Windows keeps its GBK name, which Qt (and a native file
    // dialog through it) reads with U+FFFD in place of the Chinese; its content
    // was saved again as UTF-8. Both still import, with the names right.
    void aGbkNamedUtf8StatementImports()
    {
        const QByteArray name = QStringEncoder("GBK").encode(u"交易记录.txt"_s);
        const QByteArray raw = QFile::encodeName(m_dir->path()) + '/' + name;
        const QByteArray bytes = utf8StatementFile({cdzqHeader(), Cdzq{}.line()});
        const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
        ::close(fd);
        m_window->brokers()->setCurrentIndex(1);
        m_files.chosen = QFile::decodeName(raw);
        m_window->browse();
        QCOMPARE(m_prompter.messages, QStringList());
        QVERIFY2(m_window->memo()->toPlainText().contains(u"浦发银行"_s),
                 qPrintable(m_window->memo()->toPlainText()));
        QVERIFY(runImport({true, false}));
        ::unlink(raw.constData()); // QTemporaryDir cannot see it to remove it
        QCOMPARE(m_db->scalarInt("SELECT count(*) FROM gpjl WHERE 股票名='浦发银行' AND "
                                 "交易状态='买入' AND 虚拟卖出='假'"),
                 1);
    }

    void aFileThatCannotBeReadIsNamedWithTheReason()
    {
        m_files.chosen = path(u"无此文件.txt"_s);
        m_window->browse();
        QCOMPARE(m_prompter.messages.size(), 1);
        QVERIFY2(m_prompter.messages.first().startsWith(u"无法读取对账单“"_s),
                 qPrintable(m_prompter.messages.first()));
        QVERIFY(m_prompter.messages.first().contains(u"找不到这个文件"_s));
    }

    void aRepeatedStatementOffersToSkipItsLines()
    {
        writeFile(u"s.txt"_s, statementFile({sczqHeader(), Sczq{}.line()}));
        m_files.chosen = path(u"s.txt"_s);
        m_window->browse();
        QVERIFY(runImport({true, false}));
        m_window->openFile(path(u"s.txt"_s));
        m_prompter.questions.clear();
        QVERIFY(runImport({true, true, false}));
        QVERIFY2(m_prompter.questions.first().text.startsWith(u"1 行与账中已有的交易相同"_s),
                 qPrintable(m_prompter.questions.first().text));
        QCOMPARE(trades(), 1);
    }

    // Statements as the user meets them, run through the window: what the memo
    // shows once confirmed, what lands in the ledger and what the user is told.
    void statementOutcomes_data()
    {
        QTest::addColumn<int>("broker");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("before"); // SQL run on the ledger first
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("committed");
        QTest::addColumn<qint64>("rows"); // every gpjl row afterwards
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("message");
        Sczq sell;
        sell.operation = u"卖出"_s;
        sell.quantity = u"-400"_s;
        Sczq bonus;
        bonus.operation = u"红利"_s;
        Sczq other;
        other.name = u"戊股份"_s;
        other.code = u"000009"_s;
        const QString buy = Sczq{}.line();
        const QString trade =
            u"INSERT INTO gpjl (日期,股票代码,股票名,交易状态,数量,价格,虚拟卖出) "
            u"VALUES ('2007-01-04','000709','唐钢股份','买入',100,9,'假')"_s;
        QTest::newRow("no header: every line from the first")
            << 0 << QStringList{buy, sell.line()} << QString() << QList<bool>{true, false} << true
            << qint64(2 + 1) << buy + u'\n' + sell.line() << u"导入完成"_s;
        QTest::newRow("title lines before the header")
            << 0 << QStringList{u"首创证券 对账单"_s, sczqHeader(), buy} << QString()
            << QList<bool>{true, false} << true << qint64(2) << buy << u"导入完成"_s;
        // A statement without a trade is refused before any question, so that a
        // wrong file never empties the ledger; the memo shows the whole file again.
        QTest::newRow("header as the last line: nothing to import")
            << 0 << QStringList{buy, sczqHeader()} << QString() << QList<bool>{true, false} << false
            << qint64(0) << QString() << u"没有导入：按“首创证券”的格式"_s;
        QTest::newRow("every line skipped: refused, the ledger stays")
            << 0 << QStringList{sczqHeader(), bonus.line()} << trade << QList<bool>{true, true}
            << false << qint64(1) << QString() << u"没有导入：按“首创证券”的格式"_s;
        QTest::newRow("adding keeps the ledger")
            << 0 << QStringList{sczqHeader(), buy} << trade << QList<bool>{true, false} << true
            << qint64(1 + 2) << buy << u"导入完成"_s;
        QTest::newRow("a line the ledger refuses: nothing lands, the line is named")
            << 0 << QStringList{sczqHeader(), buy, sell.line(), other.line()}
            << trade + u";CREATE TRIGGER refuse BEFORE INSERT ON gpjl WHEN NEW.股票名='戊股份' "
                       u"BEGIN SELECT RAISE(ABORT,'refused'); END"_s
            << QList<bool>{true, true} << false << qint64(1)
            << buy + u'\n' + sell.line() + u'\n' + other.line()
            << u"导入失败，没有导入任何记录。第 3 行出错：数据库出错（refused）"_s; // as listed
        QTest::newRow("财达证券 by the broker choice")
            << 1 << QStringList{cdzqHeader(), Cdzq{}.line()} << QString()
            << QList<bool>{true, false} << true << qint64(2) << Cdzq{}.line() << u"导入完成"_s;
        QTest::newRow("a 首创证券 statement read as 财达证券")
            << 1 << QStringList{sczqHeader(), buy} << QString() << QList<bool>{true, false} << false
            << qint64(0) << QString() << u"没有导入：按“财达证券”的格式"_s;
    }
    void statementOutcomes()
    {
        QFETCH(int, broker);
        QFETCH(QStringList, lines);
        QFETCH(QString, before);
        QFETCH(QList<bool>, answers);
        QFETCH(bool, committed);
        QFETCH(qint64, rows);
        QFETCH(QString, memo);
        QFETCH(QString, message);
        if (!before.isEmpty())
            m_db->exec(before.toUtf8().constData());
        m_window->brokers()->setCurrentIndex(broker);
        writeFile(u"s.txt"_s, statementFile(lines));
        m_files.chosen = path(u"s.txt"_s);
        m_window->browse();
        QSignalSpy changed(&m_notifier, &ledger::LedgerNotifier::changed);
        QCOMPARE(runImport(answers), committed);
        const bool refused = m_prompter.messages.last().startsWith(u"没有导入"_s);
        QString shown = m_window->memo()->toPlainText();
        while (refused && shown.endsWith(u'\n'))
            shown.chop(1); // the file's last line end
        QCOMPARE(shown, refused ? lines.join(u'\n') : memo);
        QCOMPARE(m_db->scalarInt("SELECT count(*) FROM gpjl"), rows);
        QVERIFY2(m_prompter.messages.last().startsWith(message),
                 qPrintable(m_prompter.messages.last()));
        QCOMPARE(changed.size(), committed ? 1 : 0);
        // A failed import is not offered again until a file is chosen again; a file
        // refused before any question stays offered, for another broker's layout.
        QCOMPARE(m_window->importButton()->isEnabled(), committed || refused);
        // Only an import that changed the ledger keeps the copy made before it.
        QCOMPARE(ledger::SafetyCopies(path(u"gpmc.mdb"_s)).copies().size(), committed ? 1 : 0);
    }

    // With the program's message boxes: each question shows over the import window
    // and leaves it in front; Enter on the re-import question skips the repeated
    // line, and the closing message counts what was imported and skipped.
    void enterOnTheReimportQuestionSkipsTheRepeats()
    {
        windows::MessageBoxPrompter boxes;
        windows::ImportWindow window(*m_db, m_notifier, boxes, m_files);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        writeFile(u"s.txt"_s, statementFile({sczqHeader(), Sczq{}.line()}));
        m_files.chosen = path(u"s.txt"_s);
        window.browse();
        const auto yes = std::optional(QMessageBox::Yes);
        const std::optional<QMessageBox::StandardButton> enter;
        QSignalSpy ended(&window, &windows::ImportWindow::importEnded);
        {
            BoxAnswers first({yes, enter, enter}); // go ahead, keep the ledger, 确定
            window.importButton()->click();
            QVERIFY(ended.size() == 1 || ended.wait(10000));
            QTRY_COMPARE(first.seen.size(), 3);
            QVERIFY2(first.seen.last().text.startsWith(u"导入完成：导入 1 笔交易，跳过 0 行。"_s),
                     qPrintable(first.seen.last().text));
        }
        QCOMPARE(trades(), 1);
        QTRY_COMPARE(QGuiApplication::focusWindow(), window.windowHandle());

        window.openFile(path(u"s.txt"_s));
        BoxAnswers again({enter, yes, enter, enter}); // skip, go ahead, keep, 确定
        window.importButton()->click();
        QVERIFY(ended.size() == 2 || ended.wait(10000));
        QTRY_COMPARE(again.seen.size(), 4);
        QCOMPARE(again.seen[0].text,
                 u"1 行与账中已有的交易相同（日期、代码、买卖、数量、价格都相同）：第 1 行。"
                 u"是否跳过这些行？"_s);
        QCOMPARE(again.seen[0].preferred, QMessageBox::Yes);
        QCOMPARE(again.seen[1].preferred, QMessageBox::No);
        QCOMPARE(again.seen[2].preferred, QMessageBox::No);
        for (const BoxAnswers::Seen& box : again.seen)
            QCOMPARE(box.parent, &window);
        QVERIFY2(again.seen[3].text.startsWith(u"导入完成：导入 0 笔交易，跳过 1 行。"_s),
                 qPrintable(again.seen[3].text));
        QCOMPARE(trades(), 1);
        QTRY_COMPARE(QGuiApplication::focusWindow(), window.windowHandle());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    void aLongStatementShowsProgressAndStaysResponsive()
    {
        const int lines = 3000;
        writeFile(u"long.txt"_s, longStatement(lines));
        m_files.chosen = path(u"long.txt"_s);
        m_window->browse();
        m_prompter.answers = {true, true};
        QSignalSpy ended(m_window.get(), &windows::ImportWindow::importEnded);
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(0);
        m_window->importButton()->click();
        QVERIFY(m_window->importing());
        QVERIFY(ended.wait(60000));
        QVERIFY(ended.first().first().toBool());
        QCOMPARE(trades(), lines);
        QCOMPARE(m_window->progress()->value(), lines);
        // The event loop ran between the slices.
        QVERIFY(ticks >= lines / windows::ImportWindow::sliceLines);
    }
};

QTEST_MAIN(ImportWindowTest)
#include "ImportWindowTest.moc"
