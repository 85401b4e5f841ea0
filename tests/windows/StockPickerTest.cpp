#include "windows/StockPicker.h"
#include "ScriptedPrompter.h"
#include "ledger/Schema.h"
#include "ledger/StockTable.h"
#include "ledger/sql/Database.h"
#include "windows/Prompter.h"
#include "windows/StockInfoLink.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>
#include <QVBoxLayout>

#include <memory>

using namespace Qt::StringLiterals;
using namespace corvanta;
using windows::StockPicker;

namespace {

// A small stock table: the placeholder, 25 Shanghai codes 600000..600024, two
// stocks whose initials are ZGYH, three ChiNext codes, Shenzhen codes, a warrant,
// a fund and a stock whose name is one character.
QList<ledger::SeedStock> seedList()
{
    QList<ledger::SeedStock> seed{{u"000000"_s, u"无名股票"_s, u"WMGP"_s}};
    for (int i = 0; i < 25; ++i)
        seed.append({u"6000%1"_s.arg(i, 2, 10, QChar(u'0')), u"沪市股票%1"_s.arg(i), u"HSGP"_s});
    seed.append({{u"601988"_s, u"中国银行"_s, u"ZGYH"_s},
                 {u"601881"_s, u"中国银河"_s, u"ZGYH"_s},
                 {u"601398"_s, u"工商银行"_s, u"GSYH"_s},
                 {u"300001"_s, u"特锐德"_s, u"TRD"_s},
                 {u"300002"_s, u"神州泰岳"_s, u"SZTY"_s},
                 {u"300003"_s, u"乐普医疗"_s, u"LPYL"_s},
                 {u"000001"_s, u"平安银行"_s, u"PAYX"_s},
                 {u"000709"_s, u"唐钢股份"_s, u"TGGF"_s},
                 {u"002999"_s, u"甲"_s, u"J"_s},
                 {u"580010"_s, u"马钢CWB1"_s, u"MGCWB1"_s},
                 {u"510050"_s, u"50ETF"_s, u"50ETF"_s}});
    return seed;
}

sql::Database seededDatabase()
{
    sql::Database db = sql::Database::openInMemory();
    ledger::ensureSchema(db, seedList());
    return db;
}

struct Emitted {
    QList<MarketKind> markets;
    QList<bool> updatingWhileMarket;
    QList<int> stampFlags;
    QStringList captions;
};

// The picker over a real window: code input, candidate list, the quantity input
// that Enter moves to, and another input to leave to.
struct Fixture {
    Fixture() : db(seededDatabase()), stocks(db)
    {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : {static_cast<QWidget*>(list), static_cast<QWidget*>(code),
                           static_cast<QWidget*>(quantity), static_cast<QWidget*>(elsewhere)})
            layout->addWidget(w);
        picker = std::make_unique<StockPicker>(stocks, prompter, code, list, quantity);
        QObject::connect(picker.get(), &StockPicker::marketInferred, [this](MarketKind m) {
            emitted.markets.append(m);
            emitted.updatingWhileMarket.append(picker->isUpdating());
        });
        QObject::connect(picker.get(), &StockPicker::stampDutyFlagChanged,
                         [this](int flag) { emitted.stampFlags.append(flag); });
        QObject::connect(picker.get(), &StockPicker::captionChanged,
                         [this](const QString& name) { emitted.captions.append(name); });
        window.show();
        QApplication::setActiveWindow(&window);
        code->setFocus();
    }

    void type(const QString& text)
    {
        code->setFocus();
        code->selectAll();
        if (text.isEmpty())
            QTest::keyClick(code, Qt::Key_Backspace);
        else
            QTest::keyClicks(code, text);
    }
    void leave() { elsewhere->setFocus(Qt::TabFocusReason); }

    sql::Database db;
    ledger::StockTable stocks;
    test::ScriptedPrompter prompter;
    QWidget window;
    QComboBox* list = new QComboBox;
    QLineEdit* code = new QLineEdit;
    QLineEdit* quantity = new QLineEdit;
    QLineEdit* elsewhere = new QLineEdit;
    std::unique_ptr<StockPicker> picker;
    Emitted emitted;
};

QStringList listEntries(const QComboBox* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->itemText(i));
    return entries;
}

} // namespace

class StockPickerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        f = std::make_unique<Fixture>();
        QVERIFY(QTest::qWaitForWindowActive(&f->window));
        QCOMPARE(f->code->text(), u"000000"_s);
        QCOMPARE(f->code->maxLength(), 6);
    }
    void cleanup() { f.reset(); }

    void typingLooksUp_data();
    void typingLooksUp();
    void leavingCompletes_data();
    void leavingCompletes();
    void unknownCodeOffersToAdd_data();
    void unknownCodeOffersToAdd();
    void shortNameGetsNoInfoLink();
    void leavingTheApplicationDoesNotComplete();
    void codeInputKeys();
    void candidateSelection();
    void candidateListRefusesTyping();
    void setCurrentStockMakesNoLookup();
    void databaseFailureKeepsCandidates();
    void infoUrlEncodesTheCode_data();
    void infoUrlEncodesTheCode();

private:
    std::unique_ptr<Fixture> f;
};

void StockPickerTest::typingLooksUp_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<MarketKind>("market"); // at every key
    QTest::addColumn<int>("stampFlag");     // after the last change
    QTest::addColumn<QStringList>("entries");

    QStringList shanghai;
    for (int i = 0; i < 20; ++i)
        shanghai.append(u"沪市股票%1"_s.arg(i));
    QTest::newRow("6 lists the first 20") << u"6"_s << MarketKind::ShanghaiA << 1 << shanghai;
    QTest::newRow("600 keeps Shanghai") << u"600"_s << MarketKind::ShanghaiA << 1 << shanghai;
    QTest::newRow("ChiNext is Shenzhen") << u"3"_s << MarketKind::ShenzhenA << 1
                                         << QStringList{u"特锐德"_s, u"神州泰岳"_s, u"乐普医疗"_s};
    QTest::newRow("Shenzhen") << u"0007"_s << MarketKind::ShenzhenA << 1
                              << QStringList{u"唐钢股份"_s};
    QTest::newRow("pinyin in lower case")
        << u"zgyh"_s << MarketKind::WarrantOrFund << 0 << QStringList{u"中国银行"_s, u"中国银河"_s};
    QTest::newRow("warrant pays no stamp duty")
        << u"58"_s << MarketKind::WarrantOrFund << 0 << QStringList{u"马钢CWB1"_s};
    QTest::newRow("fund pays no stamp duty either")
        << u"51"_s << MarketKind::WarrantOrFund << 0 << QStringList{u"50ETF"_s};
    QTest::newRow("percent is no wildcard")
        << u"%"_s << MarketKind::WarrantOrFund << 0 << QStringList{};
    QTest::newRow("underscore is no wildcard")
        << u"60_"_s << MarketKind::ShanghaiA << 1 << QStringList{};
    QTest::newRow("nothing matches") << u"999"_s << MarketKind::WarrantOrFund << 0 << QStringList{};
}

void StockPickerTest::typingLooksUp()
{
    QFETCH(QString, typed);
    QFETCH(MarketKind, market);
    QFETCH(int, stampFlag);
    QFETCH(QStringList, entries);

    f->type(typed);

    QCOMPARE(f->emitted.markets, QList<MarketKind>(typed.size(), market));
    QVERIFY(!f->emitted.updatingWhileMarket.contains(false));
    QVERIFY(!f->picker->isUpdating());
    QCOMPARE(f->emitted.stampFlags.last(), stampFlag);
    QCOMPARE(listEntries(f->list), entries);
    const QString caption = entries.value(0);
    QCOMPARE(f->emitted.captions.last(), caption);
    QCOMPARE(f->picker->caption(), caption);
    QCOMPARE(f->list->currentText(), caption);
    QCOMPARE(f->picker->current().has_value(), !entries.isEmpty());
    if (!entries.isEmpty())
        QCOMPARE(f->picker->current()->name, caption);
}

void StockPickerTest::leavingCompletes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<MarketKind>("market"); // the last one emitted

    QTest::newRow("partial code") << u"600"_s << u"600000"_s << u"沪市股票0"_s
                                  << MarketKind::ShanghaiA;
    QTest::newRow("full code stays")
        << u"600007"_s << u"600007"_s << u"沪市股票7"_s << MarketKind::ShanghaiA;
    QTest::newRow("pinyin becomes the code and its market")
        << u"zgyh"_s << u"601988"_s << u"中国银行"_s << MarketKind::ShanghaiA;
    QTest::newRow("empty is the placeholder")
        << u""_s << u"000000"_s << u"无名股票"_s << MarketKind::ShenzhenA;
}

void StockPickerTest::leavingCompletes()
{
    QFETCH(QString, typed);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(MarketKind, market);
    QSignalSpy links(f->picker.get(), &StockPicker::infoLinkChanged);
    QSignalSpy quotes(f->picker.get(), &StockPicker::quoteWanted);

    f->type(typed);
    f->leave();

    QCOMPARE(f->code->text(), code);
    QCOMPARE(f->picker->caption(), name);
    QCOMPARE(f->list->currentText(), name);
    QCOMPARE(f->picker->current()->code, code);
    QCOMPARE(f->emitted.markets.last(), market);
    QVERIFY(f->prompter.questions.isEmpty());
    QCOMPARE(links.size(), 1);
    QCOMPARE(links.at(0).at(0).toString(), u"打开"_s + name + u"相关资讯网页"_s);
    QCOMPARE(links.at(0).at(1).toUrl().toString(),
             u"https://q.stock.sohu.com/q/bc.php?code="_s + code);
    QCOMPARE(quotes.size(), 1);
    QCOMPARE(quotes.at(0).at(0).toString(), code);
}

void StockPickerTest::unknownCodeOffersToAdd_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void StockPickerTest::unknownCodeOffersToAdd()
{
    QFETCH(bool, yes);
    f->prompter.answer = yes;
    QSignalSpy requests(f->picker.get(), &StockPicker::addStockRequested);
    QSignalSpy links(f->picker.get(), &StockPicker::infoLinkChanged);

    f->type(u"999"_s);
    f->leave();

    QCOMPARE(f->prompter.questions.size(), 1);
    QCOMPARE(f->prompter.questions.at(0).caption, u"股票添加确认"_s);
    QCOMPARE(f->prompter.questions.at(0).text, u"此股票无记录,是否添加？"_s);
    QCOMPARE(requests.size(), yes ? 1 : 0);
    if (yes)
        QCOMPARE(requests.at(0).at(0).toString(), u"999"_s);
    QCOMPARE(f->code->text(), u"999"_s);
    QCOMPARE(links.size(), 0);

    // Once agreed, coming back and leaving again does not ask twice.
    f->code->setFocus();
    f->leave();
    QCOMPARE(f->prompter.questions.size(), yes ? 1 : 2);
}

void StockPickerTest::shortNameGetsNoInfoLink()
{
    QSignalSpy links(f->picker.get(), &StockPicker::infoLinkChanged);
    QSignalSpy quotes(f->picker.get(), &StockPicker::quoteWanted);
    f->type(u"002999"_s);
    f->leave();
    QCOMPARE(f->picker->caption(), u"甲"_s);
    QCOMPARE(links.size(), 0);
    QCOMPARE(quotes.size(), 0);
}

void StockPickerTest::leavingTheApplicationDoesNotComplete()
{
    f->type(u"600"_s);
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(f->code, &out);
        QCOMPARE(f->code->text(), u"600"_s);
    }
}

void StockPickerTest::codeInputKeys()
{
    QSignalSpy stops(f->picker.get(), &StockPicker::refreshStopRequested);
    f->type(u"600"_s);
    QCOMPARE(stops.size(), 3);

    QTest::keyClick(f->code, Qt::Key_Return);
    QCOMPARE(stops.size(), 4);
    QCOMPARE(QApplication::focusWidget(), f->quantity);
    QCOMPARE(f->code->text(), u"600000"_s); // leaving completed it

    f->type(u"6000123"_s);
    QCOMPARE(f->code->text(), u"600012"_s);
}

void StockPickerTest::candidateSelection()
{
    f->type(u"zgyh"_s);
    f->list->setFocus();
    f->emitted = {};

    QTest::keyClick(f->list, Qt::Key_Down);

    QCOMPARE(f->list->currentIndex(), 1);
    QCOMPARE(f->code->text(), u"601881"_s);
    QCOMPARE(f->picker->caption(), u"中国银河"_s);
    QCOMPARE(f->emitted.captions.last(), u"中国银河"_s);
    QCOMPARE(f->picker->current()->code, u"601881"_s);
    QCOMPARE(f->emitted.markets, QList<MarketKind>{MarketKind::ShanghaiA});
    QCOMPARE(f->list->count(), 2); // the key release ran no second lookup

    QTest::keyClick(f->list, Qt::Key_Up);
    QCOMPARE(f->code->text(), u"601988"_s);
    QCOMPARE(f->picker->caption(), u"中国银行"_s);

    QTest::keyClick(f->list, Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), f->code);
}

void StockPickerTest::candidateListRefusesTyping()
{
    f->type(u"600"_s);
    f->list->setFocus();
    QSignalSpy chosen(f->list, &QComboBox::activated);

    QTest::keyClicks(f->list, u"a x9"_s);
    QTest::keyClick(f->list, Qt::Key_Backspace);
    QTest::keyClick(f->list, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(chosen.size(), 0);
    QCOMPARE(f->list->currentText(), u"沪市股票0"_s);
    QCOMPARE(f->list->count(), 20);
    QCOMPARE(f->code->text(), u"600000"_s); // completed when the code input was left
}

void StockPickerTest::setCurrentStockMakesNoLookup()
{
    f->type(u"600"_s);
    f->emitted = {};

    f->picker->setCurrentStock(u"000709"_s, u"唐钢股份"_s);

    QCOMPARE(f->code->text(), u"000709"_s);
    QCOMPARE(f->picker->caption(), u"唐钢股份"_s);
    QCOMPARE(f->emitted.captions, QStringList{u"唐钢股份"_s});
    QCOMPARE(listEntries(f->list), QStringList{u"唐钢股份"_s});
    QCOMPARE(f->list->currentText(), u"唐钢股份"_s);
    QCOMPARE(f->picker->current()->code, u"000709"_s);
    QVERIFY(f->emitted.markets.isEmpty());

    // Leaving a full code with a known name keeps it and links it.
    QSignalSpy links(f->picker.get(), &StockPicker::infoLinkChanged);
    f->code->setFocus();
    f->leave();
    QCOMPARE(f->code->text(), u"000709"_s);
    QCOMPARE(links.size(), 1);
    QVERIFY(f->prompter.questions.isEmpty());
}

void StockPickerTest::databaseFailureKeepsCandidates()
{
    f->type(u"zgyh"_s);
    f->db.exec("DROP TABLE gpmc");

    f->type(u"6"_s);

    QCOMPARE(f->prompter.messages.size(), 1);
    QCOMPARE(listEntries(f->list), (QStringList{u"中国银行"_s, u"中国银河"_s}));
    QCOMPARE(f->picker->caption(), u"中国银行"_s);
}

void StockPickerTest::infoUrlEncodesTheCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("encodedQuery");
    QTest::newRow("digits") << u"600000"_s << u"code=600000"_s;
    QTest::newRow("delimiters") << u"1&x=2#"_s << u"code=1%26x%3D2%23"_s;
    QTest::newRow("percent") << u"6%20"_s << u"code=6%2520"_s;
}

void StockPickerTest::infoUrlEncodesTheCode()
{
    QFETCH(QString, code);
    QFETCH(QString, encodedQuery);
    const QUrl url = windows::stockInfoUrl(code);
    QCOMPARE(url.toString(QUrl::RemoveQuery), u"https://q.stock.sohu.com/q/bc.php"_s);
    QCOMPARE(url.query(QUrl::FullyEncoded), encodedQuery);
    QCOMPARE(QUrlQuery(url).queryItemValue(u"code"_s, QUrl::FullyDecoded), code);
}

QTEST_MAIN(StockPickerTest)
#include "StockPickerTest.moc"
