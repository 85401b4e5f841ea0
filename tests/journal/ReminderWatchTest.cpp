#include "JournalTestSupport.h"

#include "journal/Notifier.h"
#include "journal/ReminderWatch.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::journal;
using namespace corvanta::journal::testing;

namespace {

struct RecordingNotifier : Notifier {
    void notify(const QString& title, const QString& text) override { told << title + u'|' + text; }
    QStringList told;
};

class ReminderWatchTest : public JournalTest {
protected:
    qint64 noteWith(const ReminderSettings& settings)
    {
        const qint64 id = added(draft(u"600000"_s, u"浦发银行"_s, u"留意年报"_s));
        EXPECT_TRUE(journal.setReminder(id, settings, notifier));
        return id;
    }

    RecordingNotifier told;
    ReminderWatch watch{journal, notifier, told};
};

TEST_F(ReminderWatchTest, WeeklyReminderIsToldOncePerOccurrenceAcrossRestarts)
{
    ReminderSettings settings;
    settings.date = QDate(2026, 12, 10);
    settings.frequency = Frequency::Weekly;
    const qint64 id = noteWith(settings);
    QSignalSpy alerted(&watch, &ReminderWatch::alerted);

    watch.check(QDate(2026, 12, 9));
    EXPECT_TRUE(told.told.isEmpty());
    watch.check(QDate(2026, 12, 10));
    EXPECT_EQ(told.told,
              QStringList{u"股市日志提醒|600000 浦发银行 提醒日期已到: 2026-12-10\n留意年报"_s});
    ASSERT_EQ(alerted.size(), 1);
    EXPECT_EQ(alerted.at(0).at(0).toLongLong(), id);

    watch.check(QDate(2026, 12, 10));
    ReminderWatch restarted(journal, notifier, told);
    restarted.check(QDate(2026, 12, 11));
    // The clock set back a day repeats nothing.
    restarted.check(QDate(2026, 12, 9));
    EXPECT_EQ(told.told.size(), 1);

    restarted.check(QDate(2026, 12, 17));
    EXPECT_EQ(told.told.size(), 2);
    EXPECT_TRUE(told.told.last().contains(u"2026-12-17"_s));
}

TEST_F(ReminderWatchTest, TargetIsToldOnceAcrossRestarts)
{
    ReminderSettings settings;
    settings.targets = {21.0, std::nullopt};
    settings.basePrice = 10.5;
    noteWith(settings);

    watch.quoteArrived(u"600000"_s, u"-"_s, QDate(2026, 12, 10));
    watch.quoteArrived(u"600000"_s, u"20.80"_s, QDate(2026, 12, 10));
    EXPECT_TRUE(told.told.isEmpty());
    watch.quoteArrived(u"600000"_s, u"21.10"_s, QDate(2026, 12, 10));
    ASSERT_EQ(told.told.size(), 1);
    EXPECT_TRUE(told.told.first().contains(u"时价21.1已达到目标价21"_s));

    watch.quoteArrived(u"600000"_s, u"22"_s, QDate(2026, 12, 10));
    ReminderWatch restarted(journal, notifier, told);
    restarted.quoteArrived(u"600000"_s, u"23"_s, QDate(2026, 12, 11));
    EXPECT_EQ(told.told.size(), 1);
    EXPECT_TRUE(journal.reminders().value(0).targets[ReachTarget].fired);
}

TEST_F(ReminderWatchTest, ABatchOfQuotesTellsTheTargetItsStockReached)
{
    ReminderSettings settings;
    settings.targets = {21.0, std::nullopt};
    settings.basePrice = 10.5;
    noteWith(settings);

    // A monitor request brings other stocks, and this one without a trade yet.
    watch.pricesArrived({{u"000001"_s, u"25.00"_s}, {u"600000"_s, u"-"_s}}, QDate(2026, 12, 10));
    EXPECT_TRUE(told.told.isEmpty());
    watch.pricesArrived({{u"000001"_s, u"25.00"_s}, {u"600000"_s, u"21.30"_s}},
                        QDate(2026, 12, 10));
    ASSERT_EQ(told.told.size(), 1);
    EXPECT_TRUE(told.told.first().contains(u"时价21.3已达到目标价21"_s));
}

TEST_F(ReminderWatchTest, ANoteDeletedBeforeItsDateNeverReminds)
{
    ReminderSettings settings;
    settings.date = QDate(2026, 12, 12);
    settings.targets = {21.0, std::nullopt};
    const qint64 id = noteWith(settings);
    ASSERT_TRUE(journal.remove(id, notifier));

    watch.quoteArrived(u"600000"_s, u"30"_s, QDate(2026, 12, 12));
    watch.check(QDate(2026, 12, 13));
    EXPECT_TRUE(told.told.isEmpty());
}

TEST_F(ReminderWatchTest, CheckingByTheClockTellsTodaysReminder)
{
    ReminderSettings settings;
    settings.date = QDate::currentDate();
    noteWith(settings);
    watch.startChecking(std::chrono::milliseconds(5));
    EXPECT_EQ(told.told.size(), 1);
    QTest::qWait(30);
    EXPECT_EQ(told.told.size(), 1);
}

TEST_F(ReminderWatchTest, ReportingIsAnnouncedSoTheGridFollows)
{
    ReminderSettings settings;
    settings.date = QDate(2026, 12, 10);
    noteWith(settings);
    const auto announced = log.changes.size();
    watch.check(QDate(2026, 12, 10));
    EXPECT_EQ(log.changes.size(), announced + 1);
    watch.check(QDate(2026, 12, 10));
    EXPECT_EQ(log.changes.size(), announced + 1);
}

} // namespace
