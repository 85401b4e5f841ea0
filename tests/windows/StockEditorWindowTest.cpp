#include "windows/StockEditorWindow.h"
#include "ScriptedPrompter.h"

#include "ledger/LedgerWriter.h"
#include "ledger/Schema.h"
#include "ledger/StockTable.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "windows/Prompter.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace {

// Hanzi come from the input method, not as key presses.
void commit(QLineEdit* field, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}

} // namespace

class StockEditorWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void showForCarriesCodeAndLocksIt();
    void saveWaitsForAKeyInTheName_data();
    void saveWaitsForAKeyInTheName();
    void codeFieldKeys_data();
    void codeFieldKeys();
    void codeFieldLockedUntilChangeCode();
    void leavingCodeFieldLocksIt();
    void codeFieldStaysOpenWhileAnotherWindowIsActive();
    void enterMovesTheFocus();
    void cancelClearsTheName();
    void nameHoldsEightGbkBytes_data();
    void nameHoldsEightGbkBytes();
    void shortCodeRefusedAndLeftEditable();
    void emptyNameRefused_data();
    void emptyNameRefused();
    void newCodeAddedWithItsPinyin();
    void existingCodeRenamedEverywhereOnYes();
    void existingCodeKeptOnNo();
    void renameThatSplitsASaleApartIsRefused();
    void databaseErrorLeavesNothingHalfWritten();
    void exitHidesTheWindow();
    void opensOverItsOwner();

private:
    QLineEdit* nameField() const { return m_window->findChild<QLineEdit*>(u"Edit1"_s); }
    QLineEdit* codeField() const { return m_window->findChild<QLineEdit*>(u"Edit2"_s); }
    QPushButton* button(const char* name) const
    {
        return m_window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void showActive(const QString& code);
    void enterName(const QString& name);
    QString stockName(const QString& code) const;
    QStringList ledgerNames(const QString& code) const;
    qint64 stockCount() const;

    std::unique_ptr<sql::Database> m_db;
    std::unique_ptr<ledger::StockTable> m_stocks;
    std::unique_ptr<ledger::LedgerNotifier> m_notifier;
    std::unique_ptr<ledger::LedgerWriter> m_writer;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<windows::StockEditorWindow> m_window;
    std::unique_ptr<QSignalSpy> m_saved;
};

void StockEditorWindowTest::init()
{
    m_db = std::make_unique<sql::Database>(sql::Database::openInMemory());
    ledger::ensureSchema(*m_db, {{u"000000"_s, u"无名股票"_s, u"WMGP"_s},
                                 {u"000709"_s, u"唐钢股份"_s, u"TGGF"_s},
                                 {u"600048"_s, u"保利地产"_s, u"BLDC"_s}});
    m_stocks = std::make_unique<ledger::StockTable>(*m_db);
    m_notifier = std::make_unique<ledger::LedgerNotifier>();
    m_writer = std::make_unique<ledger::LedgerWriter>(*m_db, *m_notifier);
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<windows::StockEditorWindow>(*m_stocks, *m_writer, *m_prompter);
    m_saved = std::make_unique<QSignalSpy>(m_window.get(), &windows::StockEditorWindow::stockSaved);
}

void StockEditorWindowTest::cleanup()
{
    m_saved.reset();
    m_window.reset();
    m_prompter.reset();
    m_writer.reset();
    m_notifier.reset();
    m_stocks.reset();
    m_db.reset();
}

void StockEditorWindowTest::showActive(const QString& code)
{
    m_window->showFor(code);
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void StockEditorWindowTest::enterName(const QString& name)
{
    QTest::keyClick(nameField(), Qt::Key_Backspace);
    commit(nameField(), name);
}

QString StockEditorWindowTest::stockName(const QString& code) const
{
    const auto row = m_stocks->findByCode(code);
    return row ? row->name + u'/' + row->pinyin : QString();
}

QStringList StockEditorWindowTest::ledgerNames(const QString& code) const
{
    auto query = m_db->prepare("SELECT 股票名 FROM gpjl WHERE 股票代码=?1 ORDER BY ID");
    query.bind(1, code);
    QStringList names;
    while (query.step())
        names.append(query.text(0));
    return names;
}

qint64 StockEditorWindowTest::stockCount() const
{
    return m_db->scalarInt("SELECT count(*) FROM gpmc");
}

void StockEditorWindowTest::showForCarriesCodeAndLocksIt()
{
    QSignalSpy shown(m_window.get(), &windows::StockEditorWindow::shown);
    m_window->showFor(u"600048"_s);
    commit(nameField(), u"保利"_s);
    button("changeCodeButton")->click();

    m_window->showFor(u"000709"_s);
    QCOMPARE(m_window->windowTitle(), u"股票添加窗口"_s);
    QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(nameField()->text(), QString());
    QCOMPARE(codeField()->text(), u"000709"_s);
    QVERIFY(!codeField()->isEnabled());
    QVERIFY(codeField()->isReadOnly());
    QVERIFY(!button("updateButton")->isEnabled());
    QCOMPARE(shown.count(), 1);
}

void StockEditorWindowTest::saveWaitsForAKeyInTheName_data()
{
    QTest::addColumn<bool>("byInputMethod");
    QTest::newRow("key") << false;
    QTest::newRow("input method") << true;
}

void StockEditorWindowTest::saveWaitsForAKeyInTheName()
{
    QFETCH(bool, byInputMethod);
    m_window->showFor(u"600048"_s);
    QVERIFY(!button("saveButton")->isEnabled());
    if (byInputMethod)
        commit(nameField(), u"保利"_s);
    else
        QTest::keyClick(nameField(), Qt::Key_Shift);
    QVERIFY(button("saveButton")->isEnabled());
}

void StockEditorWindowTest::codeFieldKeys_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero then zero") << u""_s << u"00"_s << u"0"_s;
    QTest::newRow("zero onto zero") << u"0"_s << u"0"_s << u"0"_s;
    QTest::newRow("zero after another digit") << u"5"_s << u"00"_s << u"500"_s;
    QTest::newRow("point and letters refused") << u""_s << u"6.0a0-0 48"_s << u"600048"_s;
    QTest::newRow("six at most") << u"12345"_s << u"678"_s << u"123456"_s;
    QTest::newRow("backspace edits") << u"600049"_s << u"\b8"_s << u"600048"_s;
}

void StockEditorWindowTest::codeFieldKeys()
{
    QFETCH(QString, start);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    showActive(start);
    button("changeCodeButton")->click();
    QVERIFY(codeField()->hasFocus());
    for (QChar c : typed) {
        if (c == u'\b')
            QTest::keyClick(codeField(), Qt::Key_Backspace);
        else
            QTest::keyClicks(codeField(), QString(c));
    }
    QCOMPARE(codeField()->text(), expected);
}

void StockEditorWindowTest::codeFieldLockedUntilChangeCode()
{
    showActive(u"600048"_s);
    QTest::keyClicks(codeField(), u"1"_s);
    QCOMPARE(codeField()->text(), u"600048"_s);

    button("changeCodeButton")->click();
    QVERIFY(codeField()->isEnabled());
    QVERIFY(!codeField()->isReadOnly());
    QVERIFY(codeField()->hasFocus());
}

void StockEditorWindowTest::leavingCodeFieldLocksIt()
{
    showActive(u"600048"_s);
    button("changeCodeButton")->click();
    QTest::mouseClick(button("cancelButton"), Qt::LeftButton);
    QVERIFY(!codeField()->isEnabled());
    QVERIFY(codeField()->isReadOnly());
    QVERIFY(nameField()->hasFocus());
}

void StockEditorWindowTest::codeFieldStaysOpenWhileAnotherWindowIsActive()
{
    showActive(u"600048"_s);
    button("changeCodeButton")->click();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(codeField()->isEnabled());
    QVERIFY(!codeField()->isReadOnly());
}

void StockEditorWindowTest::enterMovesTheFocus()
{
    showActive(u"600048"_s);
    button("changeCodeButton")->click();
    QTest::keyClick(codeField(), Qt::Key_Return);
    QVERIFY(nameField()->hasFocus());
    QVERIFY(!codeField()->isEnabled());

    QTest::keyClick(nameField(), Qt::Key_Return);
    QVERIFY(button("saveButton")->hasFocus());
}

void StockEditorWindowTest::cancelClearsTheName()
{
    showActive(u"600048"_s);
    commit(nameField(), u"保利"_s);
    QTest::mouseClick(button("cancelButton"), Qt::LeftButton);
    QCOMPARE(nameField()->text(), QString());
    QVERIFY(nameField()->hasFocus());
    QCOMPARE(codeField()->text(), u"600048"_s);
}

void StockEditorWindowTest::nameHoldsEightGbkBytes_data()
{
    QTest::addColumn<QStringList>("commits");
    QTest::addColumn<int>("cursor"); // before the last commit; -1 keeps it at the end
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("four hanzi fit") << QStringList{u"中兴通讯"_s} << -1 << u""_s << u"中兴通讯"_s;
    QTest::newRow("fifth hanzi cut")
        << QStringList{u"中兴通讯股份"_s} << -1 << u""_s << u"中兴通讯"_s;
    QTest::newRow("letters count one byte")
        << QStringList{u"中兴通"_s, u"ABC"_s} << -1 << u""_s << u"中兴通AB"_s;
    QTest::newRow("hanzi cut whole")
        << QStringList{u"1234567"_s, u"中"_s} << -1 << u""_s << u"1234567"_s;
    QTest::newRow("typed keys") << QStringList{} << -1 << u"ABCDEFGHIJ"_s << u"ABCDEFGH"_s;
    QTest::newRow("insertion cut, not the text after it")
        << QStringList{u"中兴通讯"_s, u"A"_s} << 2 << u""_s << u"中兴通讯"_s;
    QTest::newRow("insertion in the middle fits")
        << QStringList{u"中通讯"_s, u"兴"_s} << 1 << u""_s << u"中兴通讯"_s;
}

void StockEditorWindowTest::nameHoldsEightGbkBytes()
{
    QFETCH(QStringList, commits);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    m_window->showFor(u"600048"_s);
    for (qsizetype i = 0; i < commits.size(); ++i) {
        if (i == commits.size() - 1 && cursor >= 0)
            nameField()->setCursorPosition(cursor);
        commit(nameField(), commits.at(i));
    }
    QTest::keyClicks(nameField(), keys);
    QCOMPARE(nameField()->text(), expected);
}

void StockEditorWindowTest::shortCodeRefusedAndLeftEditable()
{
    showActive(u"00070"_s);
    enterName(u"唐钢"_s);
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);

    QCOMPARE(m_prompter->messages, QStringList{u" 代码长度应为六位！"_s});
    QVERIFY(codeField()->isEnabled());
    QVERIFY(!codeField()->isReadOnly());
    QVERIFY(codeField()->hasFocus());
    QCOMPARE(stockCount(), 3);
    QCOMPARE(m_saved->count(), 0);

    QTest::keyClicks(codeField(), u"9"_s);
    QCOMPARE(codeField()->text(), u"000709"_s);
}

void StockEditorWindowTest::emptyNameRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << u""_s;
    QTest::newRow("blanks only") << u"  "_s;
}

void StockEditorWindowTest::emptyNameRefused()
{
    QFETCH(QString, name);
    showActive(u"600999"_s);
    enterName(name);
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);

    QCOMPARE(m_prompter->messages, QStringList{u" 股票名称不能为空！"_s});
    QVERIFY(nameField()->hasFocus());
    QCOMPARE(stockCount(), 3);
    QCOMPARE(m_saved->count(), 0);
}

void StockEditorWindowTest::newCodeAddedWithItsPinyin()
{
    showActive(u"600999"_s);
    enterName(u"中兴通讯"_s);
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);

    QCOMPARE(m_prompter->messages, QStringList{u"　添加成功 "_s});
    QVERIFY(m_prompter->questions.isEmpty());
    QCOMPARE(stockName(u"600999"_s), u"中兴通讯/ZXTX"_s);
    QCOMPARE(stockCount(), 4);
    QCOMPARE(m_saved->count(), 1);
    QCOMPARE(m_saved->at(0), (QVariantList{u"600999"_s, u"中兴通讯"_s}));
    QCOMPARE(nameField()->text(), QString());
    QCOMPARE(codeField()->text(), QString());
    QVERIFY(nameField()->hasFocus());
}

void StockEditorWindowTest::existingCodeRenamedEverywhereOnYes()
{
    m_prompter->answer = true;
    showActive(u"000709"_s);
    enterName(u"河钢股份"_s);
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);

    QCOMPARE(m_prompter->questions.size(), 1);
    QCOMPARE(m_prompter->questions.at(0).caption, u"股票添加确认"_s);
    QCOMPARE(m_prompter->questions.at(0).text, u"此股票代码重复,是否覆盖？否：取消,是：覆盖"_s);
    QCOMPARE(m_prompter->messages, QStringList{u"　修改成功!"_s});
    QCOMPARE(stockName(u"000709"_s), u"河钢股份/HGGF"_s);
    // Both the trade and the open-position row of the code take the new name.
    QCOMPARE(ledgerNames(u"000709"_s), (QStringList{u"河钢股份"_s, u"河钢股份"_s}));
    QCOMPARE(stockCount(), 3);
    QCOMPARE(m_saved->count(), 1);
    QCOMPARE(m_saved->at(0), (QVariantList{u"000709"_s, u"河钢股份"_s}));
    QCOMPARE(nameField()->text(), QString());
    QCOMPARE(codeField()->text(), QString());
}

namespace {

ledger::TradeEntry entry(Direction direction, const QString& name, const QString& code,
                         const QString& quantity)
{
    ledger::TradeEntry trade;
    trade.date = QDate(2008, 3, 14);
    trade.code = code;
    trade.name = name;
    trade.direction = direction;
    trade.quantity = quantity;
    trade.price = u"10"_s;
    trade.totalFees = u"5"_s;
    trade.total = u"1005"_s;
    trade.stampDuty = u"0"_s;
    trade.commission = u"5"_s;
    trade.transferAndOther = u"0"_s;
    trade.breakEven = u"10.05"_s;
    trade.otherFee = u"0"_s;
    return trade;
}

} // namespace

// AAA 100 and BBB 200 merge into BBB 300 by a rename; 250 BBB are sold; renaming
// back would leave BBB with 200 bought and 250 sold, its next buy unsellable.
void StockEditorWindowTest::renameThatSplitsASaleApartIsRefused()
{
    m_writer->addStock(u"900001"_s, u"AAA"_s, u"AAA"_s);
    m_writer->addStock(u"900002"_s, u"BBB"_s, u"BBB"_s);
    QVERIFY(m_writer->record(entry(Direction::Buy, u"AAA"_s, u"900001"_s, u"100"_s)).recorded());
    QVERIFY(m_writer->record(entry(Direction::Buy, u"BBB"_s, u"900002"_s, u"200"_s)).recorded());
    m_prompter->answer = true;
    showActive(u"900001"_s);
    enterName(u"BBB"_s);
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);
    QCOMPARE(m_prompter->messages, QStringList{u"　修改成功!"_s});
    QCOMPARE(m_db->scalarInt("SELECT 数量 FROM gpjl WHERE 股票名='BBB' AND 虚拟卖出='真'"), 300);
    QVERIFY(m_writer->record(entry(Direction::Sell, u"BBB"_s, u"900002"_s, u"250"_s)).recorded());
    const QStringList before = ledgerNames(u"900001"_s) + ledgerNames(u"900002"_s);

    m_prompter->messages.clear();
    showActive(u"900001"_s);
    enterName(u"AAA"_s);
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);
    QCOMPARE(m_prompter->messages.size(), 1);
    QVERIFY2(m_prompter->messages.first().contains(
                 u"改名后“BBB”的卖出总数（250 股）将大于买入总数（200 股）"_s),
             qPrintable(m_prompter->messages.first()));
    QCOMPARE(ledgerNames(u"900001"_s) + ledgerNames(u"900002"_s), before);
    QCOMPARE(stockName(u"900001"_s), u"BBB/BBB"_s);
    QCOMPARE(m_db->scalarInt("SELECT 数量 FROM gpjl WHERE 股票名='BBB' AND 虚拟卖出='真'"), 50);
    QCOMPARE(m_saved->count(), 1);
}

void StockEditorWindowTest::existingCodeKeptOnNo()
{
    m_prompter->answer = false;
    showActive(u"000709"_s);
    enterName(u"河钢股份"_s);
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);

    QCOMPARE(m_prompter->questions.size(), 1);
    QVERIFY(m_prompter->messages.isEmpty());
    QCOMPARE(stockName(u"000709"_s), u"唐钢股份/TGGF"_s);
    QCOMPARE(ledgerNames(u"000709"_s), (QStringList{u"唐钢股份"_s, u"唐钢股份"_s}));
    QCOMPARE(m_saved->count(), 0);
    QVERIFY(codeField()->isEnabled());
    QVERIFY(!codeField()->isReadOnly());
    QVERIFY(codeField()->hasFocus());
    QCOMPARE(nameField()->text(), u"河钢股份"_s);
}

void StockEditorWindowTest::databaseErrorLeavesNothingHalfWritten()
{
    // The ledger update fails after the stock table's, so the rename must roll back.
    m_db->exec("DROP TABLE gpjl");
    m_prompter->answer = true;
    showActive(u"000709"_s);
    enterName(u"河钢股份"_s);
    QTest::mouseClick(button("saveButton"), Qt::LeftButton);

    QCOMPARE(m_prompter->messages.size(), 1);
    QVERIFY(m_prompter->messages.at(0).startsWith(u"股票没有保存"_s));
    QCOMPARE(stockName(u"000709"_s), u"唐钢股份/TGGF"_s);
    QVERIFY(!m_db->inTransaction());
    QCOMPARE(m_saved->count(), 0);
    QCOMPARE(nameField()->text(), u"河钢股份"_s);
}

void StockEditorWindowTest::exitHidesTheWindow()
{
    QSignalSpy hidden(m_window.get(), &windows::StockEditorWindow::hidden);
    showActive(u"600048"_s);
    QTest::mouseClick(button("exitButton"), Qt::LeftButton);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(hidden.count(), 1);
}

void StockEditorWindowTest::opensOverItsOwner()
{
    QWidget owner;
    owner.setGeometry(420, 260, 558, 580);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    windows::StockEditorWindow editor(*m_stocks, *m_writer, *m_prompter, &owner);

    editor.showFor(u"600048"_s);
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    // Centred, give or take the window frame the window manager adds on showing.
    const QPoint offset = editor.frameGeometry().center() - owner.frameGeometry().center();
    const auto where = [](const QRect& r) {
        return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    QVERIFY2(
        owner.frameGeometry().contains(editor.frameGeometry()) && offset.manhattanLength() <= 30,
        qPrintable(where(editor.frameGeometry()) + u" over "_s + where(owner.frameGeometry())));
    editor.close();
}

QTEST_MAIN(StockEditorWindowTest)
#include "StockEditorWindowTest.moc"
