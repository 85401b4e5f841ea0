#include "windows/StockEventWindow.h"
#include "ScriptedPrompter.h"

#include "ledger/LedgerMessages.h"
#include "ledger/LedgerWriter.h"
#include "ledger/Schema.h"
#include "ledger/StockHoldings.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"
#include "windows/Prompter.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace corvanta;

namespace {

const QString name = u"保利地产"_s;
const QString code = u"600048"_s;

// A buy of 1000 shares at 20.00 on 2024-03-01, fees included in the amount.
ledger::TradeEntry buyOf1000()
{
    ledger::TradeEntry entry;
    entry.date = QDate(2024, 3, 1);
    entry.code = code;
    entry.name = name;
    entry.direction = Direction::Buy;
    entry.quantity = u"1000"_s;
    entry.price = u"20.00"_s;
    entry.totalFees = u"5.00"_s;
    entry.total = u"20005.00"_s;
    entry.stampDuty = u"0"_s;
    entry.commission = u"5.00"_s;
    entry.transferAndOther = u"0"_s;
    entry.breakEven = u"20.01"_s;
    entry.otherFee = u"0"_s;
    return entry;
}

struct Terms {
    QString record, ex, cash, bonus, transfer;
};

} // namespace

Q_DECLARE_METATYPE(Terms)

class StockEventWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void addShowsTheEntitlementFirstAndSaves();
    void changeReplacesTheTermsOfTheSelectedEvent();
    void deleteAsksAndRemovesOnlyOnYes();
    void refusalsSayWhyAndSaveNothing_data();
    void refusalsSayWhyAndSaveNothing();
    void noHoldingWarningSavesOnlyOnYes();
    void listFollowsChangesMadeElsewhere();
    void unknownCodeOpensNothing();
    void rightsArePaidForOnlyOnYes_data();
    void rightsArePaidForOnlyOnYes();

private:
    template <typename T> T* child(const QString& objectName) const
    {
        return m_window->findChild<T*>(objectName);
    }
    void fill(const Terms& terms);
    void add(const Terms& terms);
    void selectRow(int row);
    int rows() const { return child<QTableView>(u"eventTable"_s)->model()->rowCount(); }
    QString cell(int row, int column) const
    {
        const QAbstractItemModel* model = child<QTableView>(u"eventTable"_s)->model();
        return model->data(model->index(row, column)).toString();
    }

    std::unique_ptr<sql::Database> m_db;
    std::unique_ptr<ledger::LedgerNotifier> m_notifier;
    std::unique_ptr<ledger::LedgerWriter> m_writer;
    std::unique_ptr<test::ScriptedPrompter> m_prompter;
    std::unique_ptr<windows::StockEventWindow> m_window;
};

void StockEventWindowTest::init()
{
    m_db = std::make_unique<sql::Database>(sql::Database::openInMemory());
    ledger::ensureSchema(*m_db, {{u"000000"_s, u"无名股票"_s, u"WMGP"_s}, {code, name, u"BLDC"_s}});
    m_notifier = std::make_unique<ledger::LedgerNotifier>();
    m_writer = std::make_unique<ledger::LedgerWriter>(*m_db, *m_notifier);
    QVERIFY(m_writer->record(buyOf1000()).recorded());
    m_prompter = std::make_unique<test::ScriptedPrompter>();
    m_window = std::make_unique<windows::StockEventWindow>(*m_db, *m_writer, *m_prompter);
    m_window->showFor(code);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void StockEventWindowTest::cleanup()
{
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    m_window.reset();
    m_prompter.reset();
    m_writer.reset();
    m_notifier.reset();
    m_db.reset();
}

void StockEventWindowTest::fill(const Terms& terms)
{
    child<QDateEdit>(u"recordDate"_s)->setDate(QDate::fromString(terms.record, Qt::ISODate));
    child<QDateEdit>(u"exDate"_s)->setDate(QDate::fromString(terms.ex, Qt::ISODate));
    const QList<QPair<QString, QString>> fields = {
        {u"cash"_s, terms.cash}, {u"bonus"_s, terms.bonus}, {u"transfer"_s, terms.transfer}};
    for (const auto& [field, text] : fields) {
        QLineEdit* edit = child<QLineEdit>(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
}

void StockEventWindowTest::add(const Terms& terms)
{
    fill(terms);
    QTest::mouseClick(child<QPushButton>(u"addButton"_s), Qt::LeftButton);
}

void StockEventWindowTest::selectRow(int row)
{
    QTableView* table = child<QTableView>(u"eventTable"_s);
    const QRect cellRect = table->visualRect(table->model()->index(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cellRect.center());
}

// 10派3元送2股转3股 over 1000 shares: the ledger's entitlement shows before the
// click, and the event's row and the open position follow the save.
void StockEventWindowTest::addShowsTheEntitlementFirstAndSaves()
{
    fill({u"2024-06-20"_s, u"2024-06-21"_s, u"3"_s, u"2"_s, u"3"_s});
    QCOMPARE(child<QLabel>(u"entitlement"_s)->text(),
             u"登记日持有 1000 股：派现 300.00 元，送转 500 股"_s);
    QCOMPARE(rows(), 0);

    QTest::mouseClick(child<QPushButton>(u"addButton"_s), Qt::LeftButton);

    QVERIFY(m_prompter->messages.isEmpty());
    QVERIFY(m_prompter->questions.isEmpty());
    QCOMPARE(rows(), 1);
    QCOMPARE(cell(0, 0), u"2024-06-20"_s);
    QCOMPARE(cell(0, 1), u"2024-06-21"_s);
    QCOMPARE(cell(0, 2), u"10派3元送2股转3股"_s);
    QCOMPARE(cell(0, 3), u"1000"_s);
    QCOMPARE(cell(0, 4), u"300.00"_s);
    QCOMPARE(cell(0, 5), u"500"_s);
    QCOMPARE(ledger::sharesHeld(*m_db, name), 1500);
}

void StockEventWindowTest::changeReplacesTheTermsOfTheSelectedEvent()
{
    add({u"2024-06-20"_s, u"2024-06-21"_s, u"3"_s, u"2"_s, u"3"_s});
    QCOMPARE(rows(), 1);
    selectRow(0);
    // The selected event's terms come into the form.
    QCOMPARE(child<QLineEdit>(u"bonus"_s)->text(), u"2"_s);

    fill({u"2024-06-20"_s, u"2024-06-21"_s, u"5"_s, u""_s, u"10"_s});
    // The event being changed is not counted as taking its own record date.
    QCOMPARE(child<QLabel>(u"entitlement"_s)->text(),
             u"登记日持有 1000 股：派现 500.00 元，送转 1000 股"_s);
    QTest::mouseClick(child<QPushButton>(u"changeButton"_s), Qt::LeftButton);

    QVERIFY2(m_prompter->messages.isEmpty(), qPrintable(m_prompter->messages.join(u'\n')));
    QCOMPARE(rows(), 1);
    QCOMPARE(cell(0, 2), u"10派5元转10股"_s);
    QCOMPARE(cell(0, 4), u"500.00"_s);
    QCOMPARE(cell(0, 5), u"1000"_s);
    QCOMPARE(ledger::sharesHeld(*m_db, name), 2000);
}

void StockEventWindowTest::deleteAsksAndRemovesOnlyOnYes()
{
    add({u"2024-06-20"_s, u"2024-06-21"_s, u"3"_s, u"2"_s, u"3"_s});
    selectRow(0);

    m_prompter->answers = {false};
    QTest::mouseClick(child<QPushButton>(u"deleteButton"_s), Qt::LeftButton);
    QCOMPARE(m_prompter->questionTexts(), QStringList{u"删除分红送配 10派3元送2股转3股 吗？"_s});
    QCOMPARE(rows(), 1);
    QCOMPARE(ledger::sharesHeld(*m_db, name), 1500);

    m_prompter->answers = {true};
    QTest::mouseClick(child<QPushButton>(u"deleteButton"_s), Qt::LeftButton);
    QCOMPARE(rows(), 0);
    QCOMPARE(ledger::sharesHeld(*m_db, name), 1000);
    QVERIFY(!child<QPushButton>(u"deleteButton"_s)->isEnabled());
}

void StockEventWindowTest::refusalsSayWhyAndSaveNothing_data()
{
    namespace m = ledger::messages::events;
    QTest::addColumn<Terms>("terms");
    QTest::addColumn<QString>("message");
    QTest::newRow("record date after the ex-date")
        << Terms{u"2024-06-22"_s, u"2024-06-21"_s, u"3"_s, {}, {}} << m::recordAfterEx.toString();
    QTest::newRow("record date already used")
        << Terms{u"2024-06-20"_s, u"2024-06-25"_s, u"1"_s, {}, {}}
        << (m::sameRecordStart + u"2024-06-20"_s + m::sameRecordEnd);
    QTest::newRow("nothing brought")
        << Terms{u"2024-07-20"_s, u"2024-07-21"_s, {}, {}, {}} << m::nothing.toString();
}

// The window shows the ledger's own refusal; the ledger keeps the one event
// saved before.
void StockEventWindowTest::refusalsSayWhyAndSaveNothing()
{
    QFETCH(Terms, terms);
    QFETCH(QString, message);
    add({u"2024-06-20"_s, u"2024-06-21"_s, u"3"_s, u"2"_s, u"3"_s});
    QCOMPARE(rows(), 1);

    fill(terms);
    QCOMPARE(child<QLabel>(u"entitlement"_s)->text(), message);
    QTest::mouseClick(child<QPushButton>(u"addButton"_s), Qt::LeftButton);

    QCOMPARE(m_prompter->messages, QStringList{message});
    QCOMPARE(rows(), 1);
    QCOMPARE(ledger::sharesHeld(*m_db, name), 1500);
}

void StockEventWindowTest::noHoldingWarningSavesOnlyOnYes()
{
    namespace m = ledger::messages::events;
    const Terms before{u"2023-06-20"_s, u"2023-06-21"_s, u"3"_s, {}, {}};
    const QString question = m::notHeldStart + u"2023-06-20"_s + m::notHeldEnd;

    m_prompter->answers = {false};
    add(before);
    QCOMPARE(m_prompter->questionTexts(), QStringList{question});
    QCOMPARE(rows(), 0);
    QVERIFY(!ledger::hasEventTable(*m_db) || ledger::stockEvents(*m_db, name).isEmpty());

    m_prompter->answers = {true};
    QTest::mouseClick(child<QPushButton>(u"addButton"_s), Qt::LeftButton);
    QCOMPARE(m_prompter->questionTexts(), (QStringList{question, question}));
    QVERIFY(m_prompter->messages.isEmpty());
    QCOMPARE(rows(), 1);
    QCOMPARE(cell(0, 3), u"0"_s);
    QCOMPARE(ledger::sharesHeld(*m_db, name), 1000);
}

// An event added by another caller of the writer (the command line's use case)
// and a later trade both show in the open window.
void StockEventWindowTest::listFollowsChangesMadeElsewhere()
{
    ledger::EventEntry entry{
        code, name, QDate(2024, 6, 20), QDate(2024, 6, 21), u"3"_s, u"2"_s, u"3"_s, {}, {}, {}};
    QVERIFY(m_writer->addEvent(entry, false).saved());
    QCOMPARE(rows(), 1);
    QCOMPARE(cell(0, 3), u"1000"_s);

    ledger::TradeEntry second = buyOf1000();
    second.date = QDate(2024, 5, 1);
    QVERIFY(m_writer->record(second).recorded());
    QCOMPARE(cell(0, 3), u"2000"_s);
    QCOMPARE(cell(0, 5), u"1000"_s);
}

void StockEventWindowTest::unknownCodeOpensNothing()
{
    m_window->hide();
    m_window->showFor(u"999999"_s);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_prompter->messages, QStringList{u"没有代码为 999999 的股票。"_s});
}

void StockEventWindowTest::rightsArePaidForOnlyOnYes_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<qint64>("held");
    QTest::newRow("paid") << true << qint64(1300);
    QTest::newRow("declined") << false << qint64(1000);
}

// 10配3股 at 8.00 over 1000 shares: 300 are offered; 配股缴款 asks with the count
// and the price, and only a Yes records them as a buy on the ex-date.
void StockEventWindowTest::rightsArePaidForOnlyOnYes()
{
    QFETCH(bool, yes);
    QFETCH(qint64, held);
    QPushButton* pay = child<QPushButton>(u"payRightsButton"_s);
    add({u"2024-05-10"_s, u"2024-05-13"_s, u"2"_s, u""_s, u""_s});
    selectRow(0);
    // An event without rights has nothing to pay for.
    QVERIFY(!pay->isEnabled());
    QTest::keyClicks(child<QLineEdit>(u"rights"_s), u"3"_s);
    QTest::keyClicks(child<QLineEdit>(u"rightsPrice"_s), u"8"_s);
    QCOMPARE(child<QLabel>(u"entitlement"_s)->text(),
             u"登记日持有 1000 股：派现 200.00 元，可配 300 股"_s);
    QTest::mouseClick(child<QPushButton>(u"changeButton"_s), Qt::LeftButton);
    QVERIFY2(m_prompter->messages.isEmpty(), qPrintable(m_prompter->messages.join(u'\n')));
    QVERIFY(pay->isEnabled());
    const auto ledgerRows = [this] {
        auto query = m_db->prepare("SELECT 日期,交易状态,数量,价格 FROM gpjl "
                                   "WHERE 虚拟卖出='假' ORDER BY ID");
        QStringList rows;
        while (query.step())
            rows << query.text(0) + u' ' + query.text(1) + u' ' + query.text(2) + u' ' +
                        query.text(3);
        return rows;
    };
    const QStringList before = ledgerRows();

    m_prompter->answers = {yes};
    QTest::mouseClick(pay, Qt::LeftButton);

    QCOMPARE(m_prompter->questions.size(), 1);
    QVERIFY2(m_prompter->questions.first().text.contains(u"以配股价 8.00 元买入 300 股"_s),
             qPrintable(m_prompter->questions.first().text));
    QVERIFY2(m_prompter->messages.isEmpty(), qPrintable(m_prompter->messages.join(u'\n')));
    QCOMPARE(ledger::sharesHeld(*m_db, name), held);
    QCOMPARE(ledgerRows(), yes ? before + QStringList{u"2024-05-13 买入 300 8.0"_s} : before);
    if (!yes)
        return;
    // Paid once, a second click says so and records nothing more.
    QTest::mouseClick(pay, Qt::LeftButton);
    QCOMPARE(m_prompter->questions.size(), 1);
    QCOMPARE(m_prompter->messages, QStringList{ledger::messages::events::rightsPaid.toString()});
    QCOMPARE(ledger::sharesHeld(*m_db, name), held);
}

QTEST_MAIN(StockEventWindowTest)
#include "StockEventWindowTest.moc"
