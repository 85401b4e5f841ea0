#include "MonitorTestLedger.h"
#include "SampleTrade.h"

#include "report/MonitorFigures.h"
#include "windows/CodeLookupWindow.h"
#include "windows/DateRangeDialog.h"
#include "windows/MonitorHeadPanel.h"
#include "windows/MonitorWindow.h"
#include "windows/TickerBar.h"
#include "windows/UsageNotesWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::windows;

namespace {

QAction* itemNamed(const QList<QAction*>& items, const QString& text)
{
    for (QAction* item : items)
        if (item->text() == text)
            return item;
    qFatal("no such item");
}

} // namespace

class TickerBarTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::MonitorTestLedger> m_ledger;
    std::unique_ptr<test::SampleTrade> m_trade;
    test::ScriptedPrompter m_prompter;
    std::unique_ptr<MonitorWindow> m_monitor;
    std::unique_ptr<TickerBar> m_bar;

private Q_SLOTS:
    void init()
    {
        m_ledger = std::make_unique<test::MonitorTestLedger>();
        m_trade = std::make_unique<test::SampleTrade>();
        m_trade->set(model::TradeText::StockCode, u"600000"_s);
        m_trade->set(model::TradeText::StockName, u"甲沪"_s);
        m_monitor =
            std::make_unique<MonitorWindow>(*m_ledger->session, m_trade->form, m_ledger->stocks,
                                            m_ledger->db, m_prompter, ledger::MonitorFont{});
        m_bar = std::make_unique<TickerBar>(*m_ledger->session);
    }
    void cleanup()
    {
        m_bar.reset();
        m_monitor.reset();
        m_ledger.reset();
    }

    void windowKind()
    {
        const Qt::WindowFlags flags = m_bar->windowFlags();
        QVERIFY(flags.testFlag(Qt::Tool));
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        m_bar->show();
        QCOMPARE(m_bar->size(), QSize(460, 22));
        QCOMPARE(m_bar->lineLabel()->x(), 168);
    }

    // A long total is never drawn over by the line beside it.
    void aLongTotalKeepsItsFigure()
    {
        m_bar->show();
        m_ledger->session->ticker().setTotalText(u"盈亏合计：-123456789012.34元"_s);
        Q_EMIT m_ledger->session->tickerChanged();
        QCOMPARE(m_bar->totalLabel()->text(), u"盈亏合计：-123456789012.34元"_s);
        QVERIFY(m_bar->lineLabel()->x() > m_bar->totalLabel()->geometry().right());
    }

    // From the monitor window the bar takes the cycles' lines: the head first,
    // then the stocks in turn, with the total and the hint.
    void rotationOnTheBar()
    {
        m_monitor->show();
        QVERIFY(m_ledger->pass());
        m_monitor->switchToFloatingBar();
        m_bar->show();
        QCOMPARE(m_bar->totalLabel()->text(),
                 u"盈亏合计："_s + m_ledger->session->grid().totals[8] + u"元"_s);
        QVERIFY(m_ledger->cycle());
        QVERIFY(m_bar->lineLabel()->text().contains(u"甲沪"_s)); // the head line
        QVERIFY(m_ledger->cycle());
        QVERIFY(m_bar->lineLabel()->text().contains(u"丙创"_s));
        QVERIFY(m_bar->totalLabel()->text().startsWith(u"盈亏合计："_s));
        QVERIFY(m_bar->displayItems()[2]->isVisible());
        QVERIFY(m_bar->displayItems()[2]->text().endsWith(u"　(&D)"_s));
        QVERIFY(m_bar->toolTip().contains(QString(48, u'=')));
        QVERIFY(!m_bar->reconnectAction()->isEnabled());

        // Unchecking a stock unchecks "全部"; the hints go with their item.
        m_bar->displayItems()[2]->trigger();
        QVERIFY(!m_bar->displayItems()[0]->isChecked());
        m_bar->hintsAction()->trigger();
        QVERIFY(m_bar->toolTip().isEmpty());
        QVERIFY(m_bar->lineLabel()->toolTip().isEmpty());
    }

    // Driven by the monitor timer (its "30秒" from the bar, a second lasting a
    // millisecond), the bar shows the head line, each stock in grid order and the
    // two index lines; then the head again and the checked stocks in turn, an
    // unchecked one walked past, the checked index lines left as they were.
    void rotationFollowsTheTimer()
    {
        monitor::MonitorSession& session = *m_ledger->session;
        m_monitor->show();
        QVERIFY(m_ledger->pass());
        m_monitor->switchToFloatingBar();
        m_bar->show();
        QStringList names;
        for (const report::MonitorCells& cells : session.grid().rows)
            names << cells[report::MonitorName];
        QCOMPARE(names.size(), 3);
        // What the line label shows, as H (the head), a stock's name or an index label.
        const auto token = [&names](const QString& text) {
            if (text.contains(u"涨幅"_s))
                return u"H"_s;
            for (const QString& name : names)
                if (text.contains(name) && text.contains(u"盈亏"_s))
                    return name;
            return text;
        };
        QStringList shown;
        QObject scope;
        connect(&session, &monitor::MonitorSession::cycleFinished, &scope, [&](bool completed) {
            shown << (completed ? token(m_bar->lineLabel()->text()) : u"failed"_s);
            if (shown.size() == 7)
                m_bar->displayItems()[3]->trigger(); // the second stock
            if (shown.size() == 13)
                session.setMonitoring(false);
        });
        session.setSecondLength(std::chrono::milliseconds(1));
        itemNamed(m_bar->refreshItems(), u"30秒"_s)->trigger();
        QCOMPARE(session.timerInterval(), 30);
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 13, 30000);
        const QString& s1 = names[0];
        const QString& s2 = names[1];
        const QString& s3 = names[2];
        QCOMPARE(shown, QStringList({u"H"_s, s1, s2, s3, u"上证:"_s, u"深成:"_s, u"H"_s, s1, s3, s3,
                                     s3, u"H"_s, s1}));
        QVERIFY(!m_bar->displayItems()[0]->isChecked());
        QVERIFY(m_bar->displayItems()[4]->isChecked());
    }

    void foldAndWidth()
    {
        m_bar->show();
        m_bar->toggleFold();
        QCOMPARE(m_bar->width(), 270);
        QVERIFY(!m_bar->totalLabel()->isVisible());
        QCOMPARE(m_bar->lineLabel()->x(), 6);
        QTest::mouseDClick(m_bar.get(), Qt::LeftButton);
        QCOMPARE(m_bar->width(), 460);
        QVERIFY(m_bar->totalLabel()->isVisible());

        QString answer;
        QString asked;
        m_bar->setWidthAsker([&](const QString& caption, const QString& prompt,
                                 const QString& value, QPoint) -> std::optional<QString> {
            asked = caption + u"|"_s + prompt + u"|"_s + value;
            if (answer == u"cancel"_s)
                return std::nullopt;
            return answer;
        });
        for (const auto& [text, width, wide] :
             {std::tuple{u"119"_s, 300, false}, std::tuple{u"601"_s, 300, false},
              std::tuple{u"120"_s, 120, false}, std::tuple{u"301"_s, 301, true},
              std::tuple{u"cancel"_s, 301, true}}) {
            answer = text;
            m_bar->askWidth();
            QCOMPARE(m_bar->width(), width);
            QCOMPARE(m_bar->totalLabel()->isVisible(), wide);
        }
        QCOMPARE(asked, u"宽度值|宽度(取值120~600)|301"_s);
        m_bar->resize(300, 22);
        m_bar->toggleFold();
        QCOMPARE(m_bar->width(), 270);
    }

    void opacityAndRefreshMenus()
    {
        m_bar->show();
        itemNamed(m_bar->opacityItems(), u"120(&3)"_s)->trigger();
        QCOMPARE(m_bar->alpha(), 120);
        QVERIFY(qAbs(m_bar->windowOpacity() - 120 / 255.0) < 0.01);
        itemNamed(m_bar->opacityItems(), u"255(&7)"_s)->trigger();
        QCOMPARE(m_bar->windowOpacity(), 1.0);

        QVERIFY(itemNamed(m_bar->refreshItems(), u"60秒"_s)->isChecked());
        itemNamed(m_bar->refreshItems(), u"2分钟"_s)->trigger();
        QCOMPARE(m_ledger->session->timerInterval(), 120000);
        QCOMPARE(m_monitor->head()->intervalText->text(), u"120 秒"_s);
        QVERIFY(!itemNamed(m_bar->refreshItems(), u"60秒"_s)->isChecked());
    }

    void refreshItemsFollowTheSlider_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("checked"); // none when empty
        QTest::newRow("30 seconds") << 29 << u"30秒"_s;
        QTest::newRow("between 60 seconds and 2 minutes") << 90 << QString();
        QTest::newRow("one step past 60 seconds") << 60 << QString();
        QTest::newRow("2 minutes") << 119 << u"2分钟"_s;
        QTest::newRow("5 minutes") << 299 << u"5分钟"_s;
        QTest::newRow("the slider's end") << 599 << QString();
    }

    // Dragging the monitor's interval slider moves the bar's "刷新时间(&T)" check to
    // the period it chose, or takes it away where no item has that period.
    void refreshItemsFollowTheSlider()
    {
        QFETCH(int, position);
        QFETCH(QString, checked);
        QVERIFY(itemNamed(m_bar->refreshItems(), u"60秒"_s)->isChecked());
        m_monitor->head()->interval->setValue(position); // as a drag moves it
        QCOMPARE(m_ledger->session->intervalPosition(), position);
        QStringList checkedItems;
        for (QAction* item : m_bar->refreshItems())
            if (item->isChecked())
                checkedItems << item->text();
        QCOMPARE(checkedItems, checked.isEmpty() ? QStringList() : QStringList{checked});
    }

    // Switching monitoring off enables "重新连接(&N)"; it switches it on again.
    void reconnect()
    {
        m_ledger->session->setMonitoring(false);
        QVERIFY(m_bar->reconnectAction()->isEnabled());
        QCOMPARE(m_bar->totalLabel()->text(), u"网络连接超时!"_s);
        m_bar->reconnectAction()->trigger();
        QVERIFY(m_ledger->session->isMonitoring());
        QVERIFY(m_monitor->head()->monitoring->isChecked());
        QVERIFY(!m_bar->reconnectAction()->isEnabled());
        QVERIFY(m_bar->totalLabel()->text().isEmpty());
    }

    void closeBringsTheMonitorBack()
    {
        QSignalSpy monitor(m_bar.get(), &TickerBar::monitorWindowRequested);
        m_bar->show();
        m_bar->close();
        QVERIFY(!m_bar->isVisible());
        QCOMPARE(monitor.size(), 1);
    }

    // The code window feeds the head stock: a whole code at once, a pinyin
    // prefix by completion on Enter.
    void codeLookup()
    {
        CodeLookupWindow lookup(m_ledger->stocks, *m_monitor, m_prompter);
        lookup.openBeside(QPoint(100, 100));
        QCOMPARE(lookup.pos(), QPoint(130, 130));
        QTest::keyClicks(lookup.code(), u"000001"_s);
        QCOMPARE(lookup.name()->text(), u"乙深"_s);
        QCOMPARE(m_monitor->head()->title(), u"乙深"_s);
        QCOMPARE(m_monitor->head()->code->text(), u"000001"_s);
        QCOMPARE(m_trade->form.stockCode(), u"000001"_s);

        QSignalSpy refresh(&lookup, &CodeLookupWindow::refreshRequested);
        lookup.code()->clear();
        QTest::keyClicks(lookup.code(), u"jh"_s);
        QCOMPARE(lookup.candidates()->count(), 1);
        QTest::keyClick(lookup.code(), Qt::Key_Return);
        QCOMPARE(lookup.code()->text(), u"600000"_s);
        QCOMPARE(m_monitor->head()->title(), u"甲沪"_s);
        QCOMPARE(refresh.size(), 1);
    }

    void usageNotes()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(u"bin"_s);
        QDir(dir.path()).mkpath(u"share/corvanta"_s);
        const QString bin = dir.filePath(u"bin"_s);
        QCOMPARE(UsageNotesWindow::locate(bin), QString());
        const QString installed = dir.filePath(u"share/corvanta/使用说明.txt"_s);
        QFile file(installed);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromHex("c8e7bacecab9d3c3")); // "如何使用" in GBK
        file.close();
        QCOMPARE(UsageNotesWindow::locate(bin), installed);
        QFile::copy(installed, dir.filePath(u"bin/使用说明.txt"_s));
        QCOMPARE(UsageNotesWindow::locate(bin), dir.filePath(u"bin/使用说明.txt"_s));

        UsageNotesWindow notes(UsageNotesWindow::locate(bin));
        QCOMPARE(notes.windowTitle(), u"   股票交易费用计算器  "_s);
        QCOMPARE(notes.notes()->toPlainText(), u"如何使用"_s);
        QVERIFY(notes.notes()->isReadOnly());
        QVERIFY(notes.notice()->isHidden());
        // A program copied alone into a folder shows the notes it carries, and says so.
        UsageNotesWindow missing(dir.filePath(u"none.txt"_s));
        QVERIFY(missing.notes()->toPlainText().contains(u"使用说明"_s));
        QVERIFY(!missing.notice()->isHidden());
        QCOMPARE(missing.notice()->text(),
                 u"无法读取程序旁的“使用说明.txt”，以下是程序内附的使用说明。"_s);
        UsageNotesWindow unknown(UsageNotesWindow::locate(dir.filePath(u"elsewhere"_s)));
        QVERIFY(!unknown.notes()->toPlainText().isEmpty());
    }

    void dateRange()
    {
        DateRangeDialog dialog;
        QCOMPARE(dialog.firstDate()->date(), QDate::currentDate());
        QCOMPARE(dialog.lastDate()->date(), QDate::currentDate());
        QSignalSpy stop(&dialog, &DateRangeDialog::mainTimerStopRequested);
        QSignalSpy start(&dialog, &DateRangeDialog::mainTimerStartRequested);
        QSignalSpy chosen(&dialog, &DateRangeDialog::rangeChosen);
        dialog.openOver(QRect(0, 0, 800, 600));
        QCOMPARE(stop.size(), 1);
        dialog.firstDate()->setDate(QDate(2007, 5, 1));
        dialog.lastDate()->setDate(QDate(2007, 5, 31));
        dialog.okButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(start.size(), 1);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first()[0].toDate(), QDate(2007, 5, 1));
        QCOMPARE(chosen.first()[1].toDate(), QDate(2007, 5, 31));
    }
};

QTEST_MAIN(TickerBarTest)
#include "TickerBarTest.moc"
