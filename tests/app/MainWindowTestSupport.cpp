#include "MainWindowTestSupport.h"

#include "windows/WindowPlace.h"

#include "app/InputBox.h"
#include "app/QuoteRefreshController.h"
#include "app/TradePanel.h"
#include "calc/Numbers.h"
#include "ledger/QuoteSourceSetting.h"
#include "ledger/TradeLedger.h"
#include "ledger/sql/Statement.h"
#include "market/ConnectionCheck.h"
#include "market/QuoteSourceChoice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace mwtest {

app::ShortcutResult FakeShortcuts::createShortcut(const QString& target, const QString& arguments,
                                                  const QString& linkPath,
                                                  const QString& description)
{
    calls.append({target, arguments, linkPath, description});
    return {};
}

QList<ledger::SeedStock> testSeedList()
{
    QList<ledger::SeedStock> seed{{u"000000"_s, u"无名股票"_s, u"WMGP"_s}};
    for (int i = 0; i < 25; ++i)
        seed.append({u"6000%1"_s.arg(i, 2, 10, QChar(u'0')), u"沪市股票%1"_s.arg(i), u"HSGP"_s});
    seed.append({{u"601988"_s, u"中国银行"_s, u"ZGYH"_s},
                 {u"601881"_s, u"中国银河"_s, u"ZGYH"_s},
                 {u"300001"_s, u"特锐德"_s, u"TRD"_s},
                 {u"300002"_s, u"神州泰岳"_s, u"SZTY"_s},
                 {u"300003"_s, u"乐普医疗"_s, u"LPYL"_s},
                 {u"000001"_s, u"平安银行"_s, u"PAYX"_s},
                 {u"000709"_s, u"唐钢股份"_s, u"TGGF"_s},
                 {u"002001"_s, u"新和成"_s, u"XHC"_s},
                 {u"580010"_s, u"马钢CWB1"_s, u"MGCWB1"_s},
                 {u"510050"_s, u"50ETF"_s, u"50ETF"_s}});
    return seed;
}

Harness::Harness(bool trayAvailable) : db(openLedger()), tray(trayAvailable)
{
    // Every test starts as a first start: no window remembers a place.
    windows::forgetPlaces();
    ledger::ensureSchema(db, testSeedList());
    // The real sources' hosts point at a closed loopback port until a test gives
    // its fake's address: no fetch of a test ever leaves the machine.
    ledger::saveQuoteSourceRow(db, ledger::QuoteSourceRow::SinaHost, closedHost);
    ledger::saveQuoteSourceRow(db, ledger::QuoteSourceRow::TencentHost, closedHost);
}

Harness::~Harness() = default;

sql::Database Harness::openLedger() const
{
    // Encrypted as the program's ledgers are, so backups and safety copies copy it
    // as they copy those; a raw key spares every open the key derivation.
    sql::Database connection = sql::Database::open(
        ledgerFile(), "x'2DD29CA851E7B56E4697B0E1F08507293D761A05CE4D1B628663F411A8086D99'",
        sql::Database::Mode::ReadWriteCreate);
    // A scratch file: nothing needs to survive a crash.
    connection.exec("PRAGMA synchronous=OFF");
    return connection;
}

namespace {

// Tests do not depend on whether the machine they run on is online: until a test
// gives its own check, the window finds no network.
class NoConnection final : public market::ConnectionCheck {
public:
    bool isConnected() override { return false; }
};

} // namespace

void Harness::restartWithoutEvents()
{
    m_program.reset();
    m_program = std::make_unique<app::Program>(
        openLedger(), app::MainWindowServices{prompter, desktop, tray, shortcuts});
    m_program->mainWindow().quotes().setConnectionCheck(std::make_unique<NoConnection>());
    m_program->show();
}

bool Harness::open()
{
    m_program = std::make_unique<app::Program>(
        openLedger(), app::MainWindowServices{prompter, desktop, tray, shortcuts});
    m_program->mainWindow().quotes().setConnectionCheck(std::make_unique<NoConnection>());
    if (pagesReadOnceShown)
        m_program->checkPagesOnceShown(ledgerFile());
    m_program->show();
    window().activateWindow();
    return QTest::qWaitForWindowActive(&window());
}

bool Harness::reopen()
{
    m_program.reset();
    return open();
}

namespace {

// Notes a mouse press that reaches any widget of one window.
class PressWatch : public QObject {
public:
    explicit PressWatch(QWidget& window) : m_window(window) { qApp->installEventFilter(this); }
    ~PressWatch() override { qApp->removeEventFilter(this); }
    bool seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress && widget && widget->window() == &m_window)
            seen = true;
        return false;
    }

private:
    QWidget& m_window;
};

} // namespace

bool takesClick(QWidget& window)
{
    QWindow* handle = window.windowHandle();
    if (!handle || !window.isVisible())
        return false;
    // The status bar's left end: a plain label, which does nothing on a click.
    QPoint at(4, window.height() - 4);
    if (auto* main = qobject_cast<QMainWindow*>(&window))
        at = main->statusBar()->mapTo(&window, QPoint(4, main->statusBar()->height() / 2));
    PressWatch watch(window);
    QTest::mouseClick(handle, Qt::LeftButton, {}, at);
    return watch.seen;
}

void endTest(std::unique_ptr<Harness>& harness)
{
    QCoreApplication::processEvents();
    QWidget* modal = QApplication::activeModalWidget();
    QVERIFY2(!modal,
             modal ? qPrintable(u"still modal: "_s + modal->windowTitle() + u" ("_s +
                                QString::fromLatin1(modal->metaObject()->className()) + u")"_s)
                   : "");
    if (harness && harness->hasProgram() && harness->window().isVisible())
        QVERIFY2(takesClick(harness->window()), "the main window does not take a click");
    harness.reset();
}

void retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus(Qt::MouseFocusReason);
    // Let the select-all on entry run now, not in the middle of the typing.
    QCoreApplication::processEvents();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    if (!text.isEmpty())
        QTest::keyClicks(edit, text);
}

void retype(QComboBox* box, const QString& text)
{
    retype(box->lineEdit(), text);
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void commitText(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

void priceTrade(app::MainWindow& window, const QString& quantity, const QString& price)
{
    retype(window.trade().quantity, quantity);
    retype(window.trade().price, price);
}

void pickStock(app::MainWindow& window, const QString& code)
{
    retype(window.trade().code, code);
    QTest::keyClick(window.trade().code, Qt::Key_Return);
}

void quoteFromPages(app::Program& program, const QUrl& address)
{
    market::QuoteSourceChoice& sources = program.quoteSources();
    sources.setHosts({address, sources.hosts().sina, sources.hosts().tencent});
    sources.choose(market::QuoteSourceKind::Page);
}

void clickGridRow(QTableView* grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList gridColumn(QTableView* grid, int column)
{
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        texts.append(grid->model()->index(row, column).data().toString());
    return texts;
}

void whenInputBoxShows(std::function<void(app::InputBoxDialog&)> answer)
{
    // The box is shown by exec(); look for it once its event loop runs, for a while.
    auto attempt = std::make_shared<std::function<void(int)>>();
    *attempt = [answer = std::move(answer), attempt](int left) {
        auto* box = qobject_cast<app::InputBoxDialog*>(QApplication::activeModalWidget());
        if (box && box->isVisible()) {
            answer(*box);
            *attempt = nullptr; // breaks the cycle between the function and itself
            return;
        }
        if (left > 0)
            QTimer::singleShot(10, [attempt, left] {
                if (*attempt)
                    (*attempt)(left - 1);
            });
    };
    QTimer::singleShot(0, [attempt] { (*attempt)(300); });
}

qint64 openQuantity(sql::Database& db, const QString& name)
{
    auto query = db.prepare("SELECT 数量 FROM gpjl WHERE 虚拟卖出='真' AND 股票名=?1");
    query.bind(1, name);
    return query.step() ? query.int64(0) : -1;
}

ledger::TradeEntry tradeEntry(const QString& code, const QString& name, Direction direction,
                              int shares, const QString& price, const QString& date)
{
    const double amount = shares * num::parseNumber(price).value();
    const double fees = 10;
    ledger::TradeEntry entry;
    entry.date = QDate::fromString(date, Qt::ISODate);
    entry.code = code;
    entry.name = name;
    entry.direction = direction;
    entry.quantity = QString::number(shares);
    entry.price = price;
    entry.totalFees = num::money(fees);
    entry.total = num::money(direction == Direction::Buy ? amount + fees : amount - fees);
    entry.stampDuty = u"0"_s;
    entry.commission = u"5"_s;
    entry.transferAndOther = u"5"_s;
    entry.breakEven = price;
    entry.otherFee = u"5"_s;
    return entry;
}

qint64 addTrade(sql::Database& db, const QString& code, const QString& name, Direction direction,
                int shares, const QString& price, const QString& date)
{
    const ledger::RecordOutcome outcome =
        ledger::TradeLedger(db).record(tradeEntry(code, name, direction, shares, price, date));
    if (!outcome.recorded())
        throw std::runtime_error(outcome.refusal.toStdString());
    return outcome.id;
}

} // namespace mwtest
