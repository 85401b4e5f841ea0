#include "MonitorTestLedger.h"
#include "SampleTrade.h"

#include "report/MonitorTableModel.h"
#include "windows/MonitorFontWindow.h"
#include "windows/MonitorHeadPanel.h"
#include "windows/MonitorQuotePanels.h"
#include "windows/MonitorWindow.h"

#include <QBrush>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::windows;

class MonitorWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::MonitorTestLedger> m_ledger;
    std::unique_ptr<test::SampleTrade> m_trade;
    test::ScriptedPrompter m_prompter;
    std::unique_ptr<MonitorWindow> m_window;

    MonitorHeadPanel* head() const { return m_window->head(); }

    void type(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

private Q_SLOTS:
    void init()
    {
        m_ledger = std::make_unique<test::MonitorTestLedger>();
        m_trade = std::make_unique<test::SampleTrade>();
        m_trade->set(model::TradeText::StockCode, u"600000"_s);
        m_trade->set(model::TradeText::StockName, u"甲沪"_s);
        m_window =
            std::make_unique<MonitorWindow>(*m_ledger->session, m_trade->form, m_ledger->stocks,
                                            m_ledger->db, m_prompter, ledger::MonitorFont{});
    }
    void cleanup()
    {
        m_window.reset();
        m_ledger.reset();
    }

    // Showing takes the main window's trade and stops its timer; a pass and
    // two cycles fill the grid with its totals row, coloured by P/L.
    void passAndCyclesFillTheGrid()
    {
        QSignalSpy timerStop(m_window.get(), &MonitorWindow::mainTimerStopRequested);
        m_window->show();
        QCOMPARE(timerStop.size(), 1);
        QCOMPARE(head()->code->text(), u"600000"_s);
        QCOMPARE(head()->title(), u"甲沪"_s);
        QCOMPARE(head()->paid->text(), u"10035.00"_s);
        QVERIFY(m_window->quotes()->chartLink()->isVisible());

        QVERIFY(m_ledger->pass());
        QVERIFY(head()->monitoring->isChecked());
        QVERIFY(head()->monitoring->isEnabled());
        QCOMPARE(head()->monitoring->text(), u" 实时行情监控运行中"_s);
        QVERIFY(head()->interval->isEnabled());
        QCOMPARE(head()->intervalText->text(), u"60 秒"_s);
        QCOMPARE(m_window->gridGroup()->title(), u"多股实时行情"_s);
        QVERIFY(m_ledger->cycle());
        QVERIFY(m_ledger->cycle());
        QCOMPARE(m_window->gridGroup()->title(), u"多股实时行情>>"_s);
        QVERIFY(m_window->timeLabel()->text().startsWith(u"获取价格时间:"_s));
        QVERIFY(!m_window->quotes()->field(u"当前"_s)->text().isEmpty());
        QCOMPARE(head()->current->text(), m_window->quotes()->field(u"当前"_s)->text());

        const report::MonitorTableModel* model = m_window->model();
        QCOMPARE(model->rowCount(), 4);
        QCOMPARE(model->index(0, 0).data().toString(), u"合　　计"_s);
        QCOMPARE(model->stockName(1), u"丙创"_s);
        // 甲沪 (the last by name) is at a loss: blue; 乙深 bought at 1.00 gains: red.
        QCOMPARE(model->index(3, 8).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::blue));
        QCOMPARE(model->index(2, 8).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::red));
        for (int column = 0; column < report::MonitorColumnCount; ++column)
            QCOMPARE(m_window->grid()->columnWidth(column),
                     model->columnWidths(m_window->pixelsPerByte())[column]);
    }

    // The head inputs: trade totals copied to the main window, the gain at the
    // current price, the buy-back and its explanation, the tick's marks.
    void headCalculations()
    {
        m_window->show();
        type(head()->quantity, u"1.5"_s);
        QCOMPARE(head()->quantity->text(), u"15"_s); // no point in a quantity
        type(head()->current, u".5"_s);
        QCOMPARE(head()->current->text(), u"5"_s); // no leading point in a price
        type(head()->quantity, u"1000"_s);
        type(head()->price, u"10.00"_s);
        QCOMPARE(m_trade->form.quantity(), u"1000"_s);
        QCOMPARE(m_trade->form.price(), u"10.00"_s);
        QVERIFY(!head()->fees->text().isEmpty());
        QVERIFY(head()->paid->text().startsWith(u"100"_s));
        head()->paid->setText(u"10035.00"_s);

        type(head()->current, u"10.20"_s);
        QCOMPARE(head()->gain->text(), u"当前价格盈亏:119.20元"_s);
        QVERIFY(m_window->buyBack()->specified->isEnabled());
        type(head()->current, u"9.00"_s);
        QCOMPARE(head()->gain->styleSheet(), u"color: blue;"_s);

        type(head()->current, u"10.20"_s);
        type(m_window->buyBack()->specified, u"10.20"_s);
        QVERIFY(m_window->buyBack()->gain->text().startsWith(u"-"_s)); // two sets of fees
        QVERIFY(m_window->buyBack()->firstIndex->text().startsWith(u"该股以当前价格:10.20卖出"_s));
        QVERIFY(m_window->buyBack()->secondIndex->text().startsWith(u"回涨到当前价位:10.20"_s));

        m_ledger->session->tick();
        QCOMPARE(head()->gain->text(), u"当前价格盈亏:119.20"_s);
        QCOMPARE(head()->progress->text(), u"行情更新|"_s); // monitoring not started yet
    }

    // Hiding stops monitoring and brings the main window back, except when the
    // window hides for the floating bar.
    void hideAndFloatingBar()
    {
        m_window->show();
        QVERIFY(m_ledger->pass());
        QSignalSpy restore(m_window.get(), &MonitorWindow::mainWindowRestoreRequested);
        QSignalSpy bar(m_window.get(), &MonitorWindow::floatingBarRequested);
        m_window->switchToFloatingBar();
        QCOMPARE(bar.size(), 1);
        QVERIFY(restore.isEmpty());
        QVERIFY(m_ledger->session->isMonitoring());
        QVERIFY(m_ledger->session->ticker().isActive());

        m_window->show();
        QVERIFY(!m_ledger->session->ticker().isActive());
        m_window->hide();
        QCOMPARE(restore.size(), 1);
        QVERIFY(!m_ledger->session->isMonitoring());
        QVERIFY(!m_ledger->session->isTimerActive());
        QVERIFY(!head()->interval->isEnabled());
    }

    void networkDownAtShowing()
    {
        m_window->setNetworkOk(false);
        m_window->show();
        QVERIFY(!head()->monitoring->isChecked());
        QVERIFY(!head()->monitoring->isEnabled());
        QVERIFY(!head()->interval->isEnabled());
        QCOMPARE(head()->progress->text(), u"网络未连接,无数据"_s);
        QVERIFY(m_ledger->session->isTimerActive());
    }

    // The trade detail of the grid's current stock, re-read on a click.
    void tradeDetail()
    {
        m_window->show();
        QVERIFY(m_ledger->pass());
        QVERIFY(!m_window->detailPanel()->isVisible());
        m_window->grid()->setCurrentIndex(m_window->model()->index(2, 0));
        m_window->showTradeDetail();
        QVERIFY(m_window->detailPanel()->isVisible());
        auto* detail = m_window->detailPanel()->findChild<QTableView*>();
        QCOMPARE(detail->model()->rowCount(), 1); // the open position is left out
        QCOMPARE(detail->model()->index(0, 1).data().toString(), u"乙深"_s);
        const QRect cell = m_window->grid()->visualRect(m_window->model()->index(3, 0));
        QTest::mouseClick(m_window->grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(detail->model()->index(0, 1).data().toString(), u"甲沪"_s);

        // The panel covers the quote panels: nothing of their captions or of the
        // chart link beneath shows through it.
        QWidget* panel = m_window->detailPanel();
        const QRect area(panel->mapTo(m_window.get(), QPoint()), panel->size());
        const auto shown = [&] {
            return m_window->grab(area).toImage();
        };
        const QImage before = shown();
        m_window->quotes()->setStockName(u"浦发银行"_s);
        m_window->quotes()->setChartLink(u"浦发银行"_s, u"600000"_s);
        QVERIFY(m_window->quotes()->chartLink()->isVisible());
        QVERIFY(shown() == before);
        m_window->quotes()->setStockName(u"另一只股票名称很长"_s);
        QVERIFY(shown() == before);
    }

    // The font window applies size and weight to the grid at once.
    void fontWindow()
    {
        m_window->show();
        QVERIFY(m_ledger->pass());
        MonitorFontWindow fonts(*m_window);
        fonts.show();
        QVERIFY(!fonts.applyButton()->isEnabled());
        fonts.sizes()->setCurrentIndex(4);
        fonts.bold()->setChecked(true);
        QVERIFY(fonts.applyButton()->isEnabled());
        fonts.applyButton()->click();
        QVERIFY(!fonts.applyButton()->isEnabled());
        QCOMPARE(m_window->grid()->font().pointSize(), 12);
        QVERIFY(m_window->grid()->font().bold());
        QCOMPARE(m_window->grid()->verticalHeader()->defaultSectionSize(), 27);
        const report::MonitorGrid& grid = m_window->model()->grid();
        QCOMPARE(m_window->grid()->columnWidth(0),
                 grid.textWidths[0] * m_window->pixelsPerByte() + 36 + 6);

        fonts.defaultsButton()->click();
        QVERIFY(fonts.applyButton()->isEnabled());
        QCOMPARE(m_window->grid()->font().pointSize(), 8);
        QVERIFY(!m_window->grid()->font().bold());
        QCOMPARE(m_window->grid()->verticalHeader()->defaultSectionSize(), 18);
    }

    // A day's figures fit their fields or keep their start in view: 成交金额
    // 277525770.000 must never read "25770.000".
    void figuresShowTheirStart_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("whole"); // wide enough for the whole text
        QTest::newRow("turnover") << u"成交金额"_s << u"277525770.000"_s << true;
        QTest::newRow("volume") << u"成交量"_s << u"4023705300"_s << true;
        QTest::newRow("price") << u"当前"_s << u"12345.678"_s << true;
        QTest::newRow("head's amount paid") << u"zfze"_s << u"123456789012.00"_s << false;
        QTest::newRow("head's fees") << u"fyhj"_s << u"1234567.89"_s << false;
    }
    void figuresShowTheirStart()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(bool, whole);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QLineEdit* edit = m_window->quotes()->field(field);
        if (edit) {
            market::MonitorQuoteDisplay display;
            for (QString* value :
                 {&display.snapshot.price, &display.snapshot.volume, &display.snapshot.turnover})
                *value = u"-"_s;
            (field == u"成交金额"_s ? display.snapshot.turnover
             : field == u"成交量"_s ? display.snapshot.volume
                                    : display.snapshot.price) = text;
            m_window->quotes()->show(display);
        } else {
            edit = m_window->findChild<QLineEdit*>(field);
            QVERIFY(edit);
            edit->setText(text);
        }
        QCOMPARE(edit->text(), text);
        QCOMPARE(edit->cursorPosition(), 0);
        if (whole) {
            const int shown = edit->contentsRect().width() - 4; // the line edit's margins
            QVERIFY2(edit->fontMetrics().horizontalAdvance(text) <= shown,
                     qPrintable(QString::number(edit->width())));
        }
    }

    void menus()
    {
        QStringList tools, popup;
        for (QAction* a : m_window->toolsMenu()->actions())
            tools << a->text();
        for (QAction* a : m_window->popupMenu()->actions())
            popup << a->text();
        QCOMPARE(tools, (QStringList{u"字体(F)"_s, u"计算器(&C)"_s, QString(), u"悬浮窗口(&W)"_s}));
        QCOMPARE(popup, (QStringList{u"悬浮窗显示"_s, u"交易明细(&L)"_s}));
    }
};

QTEST_MAIN(MonitorWindowTest)
#include "MonitorWindowTest.moc"
