#include "SampleTrade.h"
#include "ScriptedPrompter.h"

#include "journal/Journal.h"
#include "journal/JournalGrid.h"
#include "journal/JournalSchema.h"
#include "ledger/LedgerChanges.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "windows/JournalMemoWindow.h"
#include "windows/JournalMenu.h"
#include "windows/JournalWindow.h"
#include "windows/Prompter.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace corvanta;
using corvanta::model::TradeText;
using corvanta::test::SampleTrade;

namespace {

} // namespace

class JournalWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void addFromMainWindow_data();
    void addFromMainWindow();
    void addByCodeInTheWindow();
    void ratingAppliesToLaterAddsAndSaves();
    void filters_data();
    void filters();
    void clearing_data();
    void clearing();
    void savingAfterTheMainWindowsStockChanged();
    void noteWithQuotesAndSeveralLines();
    void valueTooLongIsRefused();
    void choosingANoteShowsItAndFillsTheHeaderAfterAPause();
    void deleteLeavesTheMemoOnTheSelectedNote();
    void savingIntoAnEmptyViewAddsANote();
    void memoContextMenuUsesTheClipboard();
    void memoWindowTargetFollowsThePrice_data();
    void memoWindowTargetFollowsThePrice();
    void memoWindowStoresReminderAndShowsItInTheGrid();
    void confirmingTwiceAppendsTheRatingTwice();
    void confirmingWhileEmptyAddsARatedNoteWithoutDate();
    void hidingTheMainWindowToggles();
    void showingAndHidingAreAnnounced();

private:
    QStringList gridColumn(int column) const;
    QString gridCell(int row, int column) const;
    void addNote(const QString& code, const QString& name, const QString& price = u"10.50"_s);
    void chooseRow(int row);
    void confirmMemo(int ratingIndex);
    journal::JournalNote storedNote(int row) const;
    QPlainTextEdit* memo() const { return m_window->findChild<QPlainTextEdit*>(u"Memo1"_s); }
    QTableView* grid() const { return m_window->findChild<QTableView*>(u"DBGrid1"_s); }
    windows::JournalMenu* menu() const
    {
        return m_window->findChild<windows::JournalMenu*>(u"journalMenu"_s);
    }
    QGroupBox* group(const QString& name) const { return m_window->findChild<QGroupBox*>(name); }

    std::unique_ptr<sql::Database> m_db;
    std::unique_ptr<journal::Journal> m_journal;
    std::unique_ptr<ledger::LedgerNotifier> m_changes;
    std::unique_ptr<SampleTrade> m_trade;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<windows::JournalWindow> m_window;
    std::unique_ptr<windows::JournalMemoWindow> m_memoWindow;
};

void JournalWindowTest::init()
{
    m_db = std::make_unique<sql::Database>(sql::Database::openInMemory());
    ledger::ensureSchema(*m_db, {});
    journal::upgradeJournalSchema(*m_db);
    m_journal = std::make_unique<journal::Journal>(*m_db);
    m_changes = std::make_unique<ledger::LedgerNotifier>();
    m_trade = std::make_unique<SampleTrade>(false);
    m_trade->names = {
        {u"000000"_s, u"无名股票"_s}, {u"600000"_s, u"浦发银行"_s}, {u"000709"_s, u"唐钢股份"_s}};
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<windows::JournalWindow>(*m_journal, *m_changes, m_trade->form,
                                                        *m_prompter);
    m_memoWindow = std::make_unique<windows::JournalMemoWindow>(m_trade->form);
    m_window->attachMemoWindow(m_memoWindow.get());
}

void JournalWindowTest::cleanup()
{
    m_memoWindow.reset();
    m_window.reset();
    m_prompter.reset();
    m_trade.reset();
    m_changes.reset();
    m_journal.reset();
    m_db.reset();
}

QStringList JournalWindowTest::gridColumn(int column) const
{
    QStringList cells;
    for (int row = 0; row < grid()->model()->rowCount(); ++row)
        cells << gridCell(row, column);
    return cells;
}

QString JournalWindowTest::gridCell(int row, int column) const
{
    return grid()->model()->index(row, column).data().toString();
}

void JournalWindowTest::addNote(const QString& code, const QString& name, const QString& price)
{
    m_trade->quote(code, name, price);
    QVERIFY(m_window->addFromMainWindow());
}

void JournalWindowTest::chooseRow(int row)
{
    const QModelIndex index = grid()->model()->index(row, journal::NameColumn);
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualRect(index).center());
}

void JournalWindowTest::confirmMemo(int ratingIndex)
{
    m_memoWindow->show();
    m_memoWindow->ratingGroup()->button(ratingIndex)->setChecked(true);
    QTest::mouseClick(m_memoWindow->confirmButton(), Qt::LeftButton);
}

// The note stored at a position of the journal in entry order.
journal::JournalNote JournalWindowTest::storedNote(int row) const
{
    const auto notes = m_journal->notes(journal::RatingFilter::All, journal::NoteOrder::ByEntry);
    return notes.value(row);
}

void JournalWindowTest::addFromMainWindow_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("added");
    QTest::newRow("placeholder stock") << u"000000"_s << true;
    QTest::newRow("empty code") << QString() << false;
    QTest::newRow("blank code") << u"  "_s << false;
}

void JournalWindowTest::addFromMainWindow()
{
    QFETCH(QString, code);
    QFETCH(bool, added);
    m_trade->quote(code, m_trade->names.value(code), u"-"_s);
    m_trade->set(TradeText::Quantity, u"300"_s);
    m_trade->set(TradeText::Price, u"9.8"_s);

    const std::optional<QString> label = m_window->addFromMainWindow();

    QCOMPARE(label.has_value(), added);
    QCOMPARE(grid()->model()->rowCount(), added ? 1 : 0);
    if (!added) {
        QVERIFY(memo()->toPlainText().isEmpty());
        return;
    }
    QCOMPARE(*label, u"添加待选股票成功!"_s);
    const journal::JournalNote note = storedNote(0);
    QCOMPARE(note.code, u"000000"_s);
    QCOMPARE(note.name, u"无名股票"_s);
    QCOMPARE(note.date, QDate::currentDate().toString(u"yyyy-MM-dd"));
    QCOMPARE(note.price, u"-"_s);
    const QStringList lines = note.text.split(u'\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], u"2026-12-08 000000 无名股票 300股 价格:9.8"_s);
    QCOMPARE(lines[1], QDate::currentDate().toString(u"yyyy-MM-dd") + u" 该股情况 :"_s);
    QVERIFY(lines[2].startsWith(u"量比: | 换手率: %"_s));
    QCOMPARE(grid()->currentIndex().row(), 0);
    QCOMPARE(group(u"GroupBox1"_s)->palette().color(QPalette::WindowText), QColor(Qt::red));
}

void JournalWindowTest::addByCodeInTheWindow()
{
    m_window->show();
    auto* code = m_window->findChild<QLineEdit*>(u"edt1"_s);
    auto* add = m_window->findChild<QPushButton*>(u"addButton"_s);
    QVERIFY(!add->isEnabled());
    code->setFocus();
    QTest::keyClicks(code, u"600000"_s);
    QTest::keyClick(code, Qt::Key_Return);
    QCOMPARE(m_trade->chosen.value(0), u"600000"_s);
    QVERIFY(add->isEnabled());
    QVERIFY(memo()->toPlainText().contains(u"600000 浦发银行"_s));

    QTest::mouseClick(add, Qt::LeftButton);
    QVERIFY(!add->isEnabled());
    QVERIFY(code->text().isEmpty());
    QCOMPARE(gridColumn(journal::CodeColumn), QStringList{u"600000"_s});
}

void JournalWindowTest::ratingAppliesToLaterAddsAndSaves()
{
    addNote(u"600000"_s, u"浦发银行"_s);
    addNote(u"000709"_s, u"唐钢股份"_s);
    QCOMPARE(gridColumn(journal::RatingColumn), (QStringList{QString(), QString()}));

    chooseRow(0);
    confirmMemo(0); // 五星级
    QCOMPARE(storedNote(0).rating, u"五星级"_s);
    QVERIFY(storedNote(0).text.endsWith(u"\n五星级　"_s));

    addNote(u"000000"_s, u"无名股票"_s);
    chooseRow(1);
    m_window->saveNote();
    QCOMPARE(gridColumn(journal::RatingColumn),
             (QStringList{u"五星级"_s, u"五星级"_s, u"五星级"_s}));

    menu()->filterAction(journal::RatingFilter::FiveStars)->trigger();
    QCOMPARE(grid()->model()->rowCount(), 3);
}

void JournalWindowTest::filters_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("显示全部") << int(journal::RatingFilter::All)
                              << QStringList{u"600001"_s, u"600002"_s, u"600003"_s,
                                             u"600004"_s, u"600005"_s, u"600006"_s};
    QTest::newRow("显示五星") << int(journal::RatingFilter::FiveStars)
                              << QStringList{u"600002"_s, u"600006"_s};
    QTest::newRow("显示四星") << int(journal::RatingFilter::FourStars) << QStringList{u"600003"_s};
    QTest::newRow("显示三星") << int(journal::RatingFilter::ThreeStars) << QStringList{u"600004"_s};
    QTest::newRow("显示二星") << int(journal::RatingFilter::TwoStars) << QStringList{u"600005"_s};
}

void JournalWindowTest::filters()
{
    QFETCH(int, filter);
    QFETCH(QStringList, codes);
    const QString ratings[] = {{}, u"五星级"_s, u"四星级"_s, u"三星级"_s, u"二星级"_s, u"五星级"_s};
    int number = 1;
    for (const QString& rating : ratings) {
        m_journal->setCurrentRating(rating);
        addNote(u"60000"_s + QString::number(number++), u"某股"_s);
    }
    menu()->filterAction(journal::RatingFilter(filter))->trigger();
    QCOMPARE(gridColumn(journal::CodeColumn), codes);
    QCOMPARE(grid()->currentIndex().row(), codes.size() - 1);
}

void JournalWindowTest::clearing_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No keeps the notes") << false;
    QTest::newRow("Yes empties the journal") << true;
}

void JournalWindowTest::clearing()
{
    QFETCH(bool, yes);
    addNote(u"600000"_s, u"浦发银行"_s);
    addNote(u"000709"_s, u"唐钢股份"_s);
    m_prompter->answer = yes;
    menu()->clearAction()->trigger();
    QCOMPARE(m_prompter->captionedQuestions(u'|'),
             QStringList{u"清空待选股票数据库确认|是否清空待选股票数据库？"_s});
    QCOMPARE(grid()->model()->rowCount(), yes ? 0 : 2);
    QCOMPARE(memo()->toPlainText().isEmpty(), yes);
    QCOMPARE(m_db->scalarInt("SELECT count(*) FROM dxgp"), yes ? 0 : 2);
}

void JournalWindowTest::savingAfterTheMainWindowsStockChanged()
{
    addNote(u"600000"_s, u"浦发银行"_s, u"10.50"_s);
    addNote(u"000709"_s, u"唐钢股份"_s, u"5.10"_s);
    m_window->show();
    chooseRow(0);
    QCOMPARE(m_trade->form.stockCode(), u"600000"_s);
    const QString date = storedNote(0).date;

    m_trade->quote(u"000000"_s, u"无名股票"_s, u"3.30"_s);
    QTest::mouseClick(m_window->findChild<QPushButton*>(u"saveButton"_s), Qt::LeftButton);

    QCOMPARE(gridColumn(journal::CodeColumn), (QStringList{u"000000"_s, u"000709"_s}));
    QCOMPARE(gridCell(0, journal::NameColumn), u"无名股票"_s);
    QCOMPARE(gridCell(0, journal::PriceColumn), u"3.30"_s);
    QCOMPARE(gridCell(0, journal::DateColumn), date);
    QCOMPARE(grid()->currentIndex().row(), 0);
}

void JournalWindowTest::noteWithQuotesAndSeveralLines()
{
    const QString text = u"He said \"buy\"; it's fine\n第二行 ');\n\n末行"_s;
    m_trade->quote(u"600000"_s, u"浦发银行"_s, u"10.50"_s);
    memo()->setPlainText(text);
    QVERIFY(m_window->addNote());
    QCOMPARE(storedNote(0).text, text);

    memo()->clear();
    m_window->show();
    chooseRow(0);
    QCOMPARE(memo()->toPlainText(), text);
}

void JournalWindowTest::valueTooLongIsRefused()
{
    m_trade->quote(u"600000"_s, u"一二三四五六七八九十甲"_s, u"10.50"_s);
    QCOMPARE(m_window->addFromMainWindow(), std::nullopt);
    QCOMPARE(m_prompter->messages,
             QStringList{u"股票名“一二三四五六七八九十甲”超过10个字符,不能添加!"_s});
    QCOMPARE(m_db->scalarInt("SELECT count(*) FROM dxgp"), 0);
}

void JournalWindowTest::choosingANoteShowsItAndFillsTheHeaderAfterAPause()
{
    addNote(u"600000"_s, u"浦发银行"_s, u"10.50"_s);
    addNote(u"000709"_s, u"唐钢股份"_s, u"5.10"_s);
    m_window->show();
    m_trade->chosen.clear();
    m_trade->quote(u"600000"_s, u"浦发银行"_s, u"10.60"_s);
    chooseRow(0);
    QCOMPARE(m_trade->chosen, QStringList{u"600000"_s});
    QCOMPARE(group(u"GroupBox2"_s)->title(), u"600000  浦发银行 股市日记"_s);
    QCOMPARE(group(u"GroupBox1"_s)->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(!group(u"GroupBox1"_s)->title().startsWith(u"待选股票: "_s));
    QTRY_COMPARE(group(u"GroupBox1"_s)->title(),
                 u"待选股票: 600000  浦发银行  时价:10.60  今开: 10.20  昨收: 10.10  主买: 1200  "
                 u"主卖: 800"_s);

    QTest::keyClick(grid(), Qt::Key_Down);
    QCOMPARE(m_trade->chosen.last(), u"000709"_s);
}

void JournalWindowTest::deleteLeavesTheMemoOnTheSelectedNote()
{
    memo()->setPlainText(u"第一条"_s);
    m_trade->quote(u"600000"_s, u"浦发银行"_s, u"10.50"_s);
    QVERIFY(m_window->addNote());
    memo()->setPlainText(u"第二条"_s);
    m_trade->quote(u"000709"_s, u"唐钢股份"_s, u"5.10"_s);
    QVERIFY(m_window->addNote());
    m_window->show();

    chooseRow(1);
    menu()->deleteAction()->trigger();
    QCOMPARE(gridColumn(journal::CodeColumn), QStringList{u"600000"_s});
    QCOMPARE(memo()->toPlainText(), u"第一条"_s);
    m_window->saveNote();
    QCOMPARE(storedNote(0).text, u"第一条"_s);
}

void JournalWindowTest::savingIntoAnEmptyViewAddsANote()
{
    m_trade->quote(u"600000"_s, u"浦发银行"_s, u"10.50"_s);
    memo()->setPlainText(u"空表保存"_s);
    m_window->saveNote();
    QCOMPARE(gridColumn(journal::CodeColumn), QStringList{u"600000"_s});
    QCOMPARE(storedNote(0).date, QString());
    QCOMPARE(grid()->currentIndex().row(), 0);
}

void JournalWindowTest::memoContextMenuUsesTheClipboard()
{
    auto* memoMenu = m_window->findChild<QMenu*>(u"memoMenu"_s);
    QVERIFY(memoMenu);
    const QList<QAction*> actions = memoMenu->actions();
    QCOMPARE(actions.size(), 4);
    QCOMPARE(actions[0]->text(), u"保存(&S)"_s);
    memo()->setPlainText(u"复制这一段"_s);
    actions[1]->trigger(); // 全选
    actions[2]->trigger(); // 复制
    QCOMPARE(QApplication::clipboard()->text(), u"复制这一段"_s);
    memo()->clear();
    actions[3]->trigger(); // 粘贴
    QCOMPARE(memo()->toPlainText(), u"复制这一段"_s);

    m_trade->quote(u"600000"_s, u"浦发银行"_s, u"10.50"_s);
    actions[0]->trigger(); // 保存 into the empty view
    QCOMPARE(storedNote(0).text, u"复制这一段"_s);
}

void JournalWindowTest::memoWindowTargetFollowsThePrice_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("target");
    QTest::newRow("12.3") << u"12.3"_s << u"24.6"_s;
    QTest::newRow("10.5") << u"10.5"_s << u"21"_s;
    QTest::newRow("no price") << u"-"_s << u"7"_s;
    QTest::newRow("empty") << QString() << u"7"_s;
}

void JournalWindowTest::memoWindowTargetFollowsThePrice()
{
    QFETCH(QString, price);
    QFETCH(QString, target);
    m_memoWindow->reachTargetField()->setText(u"7"_s);
    m_trade->set(TradeText::CurrentPrice, price);
    m_memoWindow->show();
    QCOMPARE(m_memoWindow->reachTargetField()->text(), target);
}

void JournalWindowTest::memoWindowStoresReminderAndShowsItInTheGrid()
{
    addNote(u"600000"_s, u"浦发银行"_s, u"10.5"_s);
    m_memoWindow->show();
    m_memoWindow->highTargetField()->setText(u"30"_s);
    QTest::keyClick(m_memoWindow->periodField(), Qt::Key_Backspace);
    QTest::keyClicks(m_memoWindow->periodField(), u"3"_s); // "23"
    m_memoWindow->frequencyGroup()->button(2)->setChecked(true);
    QTest::mouseClick(m_memoWindow->confirmButton(), Qt::LeftButton);
    QVERIFY(!m_memoWindow->isVisible());

    const QList<journal::NoteReminder> reminders = m_journal->reminders();
    QCOMPARE(reminders.size(), 1);
    QCOMPARE(reminders[0].date, QDate::currentDate().addDays(23));
    QCOMPARE(reminders[0].frequency, journal::Frequency::Weekly);
    QCOMPARE(reminders[0].targets[journal::ReachTarget].level, 21.0);
    QCOMPARE(reminders[0].targets[journal::HighTarget].level, 30.0);
    QCOMPARE(reminders[0].targets[journal::HighTarget].basePrice, 10.5);
    QCOMPARE(gridCell(0, journal::NextReminderColumn),
             QDate::currentDate().addDays(23).toString(u"yyyy-MM-dd"));
    QCOMPARE(gridCell(0, journal::TargetsColumn), u"21 / 30"_s);
    QCOMPARE(gridCell(0, journal::RatingColumn), u"四星级"_s);

    m_window->showAlert(reminders[0].noteId);
    QCOMPARE(grid()
                 ->model()
                 ->index(0, journal::TargetsColumn)
                 .data(Qt::BackgroundRole)
                 .value<QBrush>()
                 .color(),
             QColor(Qt::yellow));
    QCOMPARE(grid()
                 ->model()
                 ->index(0, journal::CodeColumn)
                 .data(Qt::ForegroundRole)
                 .value<QBrush>()
                 .color(),
             QColor(Qt::red));
}

void JournalWindowTest::confirmingTwiceAppendsTheRatingTwice()
{
    addNote(u"600000"_s, u"浦发银行"_s);
    confirmMemo(2);
    confirmMemo(2);
    QVERIFY(storedNote(0).text.endsWith(u"\n三星级　\n三星级　"_s));
}

void JournalWindowTest::confirmingWhileEmptyAddsARatedNoteWithoutDate()
{
    m_trade->quote(u"600000"_s, u"浦发银行"_s, u"10.50"_s);
    confirmMemo(0);
    QCOMPARE(gridColumn(journal::CodeColumn), QStringList{u"600000"_s});
    QCOMPARE(storedNote(0).rating, u"五星级"_s);
    QCOMPARE(storedNote(0).date, QString());
    QCOMPARE(storedNote(0).text, u"五星级　"_s);
    QCOMPARE(m_journal->reminders().size(), 1);
}

void JournalWindowTest::hidingTheMainWindowToggles()
{
    QSignalSpy hide(m_window.get(), &windows::JournalWindow::mainWindowHideRequested);
    QSignalSpy show(m_window.get(), &windows::JournalWindow::mainWindowShowRequested);
    QAction* action = menu()->mainWindowAction();
    QCOMPARE(action->text(), u"隐藏主窗口(&H)"_s);
    action->trigger();
    QCOMPARE(action->text(), u"显示主窗口(&S)"_s);
    QCOMPARE(hide.size(), 1);
    action->trigger();
    QCOMPARE(action->text(), u"隐藏主窗口(&H)"_s);
    QCOMPARE(show.size(), 1);
}

void JournalWindowTest::showingAndHidingAreAnnounced()
{
    QSignalSpy shown(m_window.get(), &windows::JournalWindow::shown);
    QSignalSpy hidden(m_window.get(), &windows::JournalWindow::hidden);
    m_window->show();
    QCOMPARE(m_window->windowTitle(), u"股市日志"_s);
    QTest::mouseClick(m_window->findChild<QPushButton*>(u"exitButton"_s), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(hidden.size(), 1);
}

QTEST_MAIN(JournalWindowTest)
#include "JournalWindowTest.moc"
