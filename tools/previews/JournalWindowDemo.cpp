// Shows the journal window with a few rated notes and a reminder, on an in-memory
// ledger and a fake main window, to look at it as a user would.
#include "SampleTrade.h"

#include "journal/Journal.h"
#include "journal/JournalSchema.h"
#include "ledger/LedgerChanges.h"
#include "ledger/Schema.h"
#include "ledger/sql/Database.h"
#include "windows/JournalMemoWindow.h"
#include "windows/JournalWindow.h"
#include "windows/Prompter.h"

#include <QApplication>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;
using namespace corvanta;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    sql::Database db = sql::Database::openInMemory();
    ledger::ensureSchema(db, {});
    journal::upgradeJournalSchema(db);
    journal::Journal notes(db);
    ledger::LedgerNotifier changes;
    test::SampleTrade trade(false);
    windows::MessageBoxPrompter prompter;
    windows::JournalWindow window(notes, changes, trade.form, prompter);
    windows::JournalMemoWindow memoWindow(trade.form, &window);
    window.attachMemoWindow(&memoWindow);

    struct Sample {
        QString code, name, price, rating;
    };
    const Sample samples[] = {{u"600000"_s, u"浦发银行"_s, u"10.52"_s, u"五星级"_s},
                              {u"000709"_s, u"唐钢股份"_s, u"14.46"_s, u"四星级"_s},
                              {u"600048"_s, u"保利地产"_s, u"31.20"_s, u"三星级"_s},
                              {u"000006"_s, u"深振业Ａ"_s, u"8.75"_s, QString()},
                              {u"600001"_s, u"邯郸钢铁"_s, u"6.10"_s, u"二星级"_s}};
    for (const Sample& sample : samples) {
        trade.names.insert(sample.code, sample.name);
        trade.quote(sample.code, sample.name, sample.price);
        trade.set(model::TradeText::Quantity, u"500"_s);
        trade.set(model::TradeText::Price, sample.price);
        notes.setCurrentRating(sample.rating);
        window.addFromMainWindow();
    }
    journal::ReminderSettings reminder;
    reminder.date = QDate::currentDate().addDays(20);
    reminder.frequency = journal::Frequency::Weekly;
    reminder.targets = {21.04, 25.0};
    reminder.basePrice = 10.52;
    const qint64 first = notes.notes(journal::RatingFilter::All, journal::NoteOrder::ByEntry)[0].id;
    notes.setReminder(first, reminder, changes);
    window.showAlert(first);

    window.show();
    return app.exec();
}
