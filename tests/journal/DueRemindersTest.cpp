#include "TextPrinting.h"
#include "journal/Reminders.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::StringLiterals;
using namespace corvanta::journal;

namespace {

QDate day(int d)
{
    return QDate(2026, 12, d);
}

NoteReminder dated(QDate date, Frequency frequency, std::optional<QDate> lastReminded = {})
{
    NoteReminder note;
    note.noteId = 7;
    note.code = u"600000"_s;
    note.name = u"浦发银行"_s;
    note.date = date;
    note.frequency = frequency;
    note.lastReminded = lastReminded;
    return note;
}

NoteReminder targeted(std::optional<double> reach, std::optional<double> high,
                      std::optional<double> base, bool reachFired = false)
{
    NoteReminder note = dated(day(1), Frequency::OnDate, day(1));
    note.targets[ReachTarget] = {reach, base, reachFired};
    note.targets[HighTarget] = {high, base, false};
    return note;
}

QString describe(const DueAlert& alert)
{
    if (alert.kind == AlertKind::Date)
        return u"date "_s + alert.occurrence.toString(u"yyyy-MM-dd");
    return (alert.target == ReachTarget ? u"reach "_s : u"high "_s) + QString::number(alert.level) +
           u" at "_s + QString::number(alert.price);
}

struct DueCase {
    const char* label;
    NoteReminder note;
    QDate today;
    QHash<QString, double> prices;
    QStringList due;
    QString next;         // the grid's next-reminder text
    bool deleted = false; // the note was deleted: it is not among the notes
};

class DueNow : public ::testing::TestWithParam<DueCase> {};

TEST_P(DueNow, GivenTheNotesTodayAndTheLastPrices)
{
    const DueCase& c = GetParam();
    QStringList due;
    const QList<NoteReminder> notes = c.deleted ? QList<NoteReminder>() : QList{c.note};
    for (const DueAlert& alert : dueAlerts(notes, c.today, c.prices)) {
        EXPECT_EQ(alert.noteId, 7);
        due << describe(alert);
    }
    EXPECT_EQ(due, c.due);
    EXPECT_EQ(nextReminderText(c.note, c.today), c.next);
}

const QHash<QString, double> noPrices;

INSTANTIATE_TEST_SUITE_P(
    Reminders, DueNow,
    ::testing::Values(
        DueCase{"beforeTheDate",
                dated(day(12), Frequency::OnDate),
                day(11),
                noPrices,
                {},
                u"2026-12-12"_s},
        DueCase{"dateReached",
                dated(day(12), Frequency::OnDate),
                day(12),
                noPrices,
                {u"date 2026-12-12"_s},
                u"2026-12-12"_s},
        DueCase{"dateMissedWhileClosed",
                dated(day(12), Frequency::OnDate),
                day(15),
                noPrices,
                {u"date 2026-12-12"_s},
                u"2026-12-15"_s},
        DueCase{"dateAlreadyReported",
                dated(day(12), Frequency::OnDate, day(12)),
                day(15),
                noPrices,
                {},
                {}},
        DueCase{"dailyAgainNextDay",
                dated(day(12), Frequency::Daily, day(12)),
                day(13),
                noPrices,
                {u"date 2026-12-13"_s},
                u"2026-12-13"_s},
        DueCase{"dailyOncePerDay",
                dated(day(12), Frequency::Daily, day(13)),
                day(13),
                noPrices,
                {},
                u"2026-12-14"_s},
        DueCase{"weeklyBetweenRepeats",
                dated(day(3), Frequency::Weekly, day(3)),
                day(9),
                noPrices,
                {},
                u"2026-12-10"_s},
        DueCase{"weeklyRepeat",
                dated(day(3), Frequency::Weekly, day(3)),
                day(10),
                noPrices,
                {u"date 2026-12-10"_s},
                u"2026-12-10"_s},
        DueCase{"weeklyRepeatMissed",
                dated(day(3), Frequency::Weekly, day(3)),
                day(12),
                noPrices,
                {u"date 2026-12-10"_s},
                u"2026-12-12"_s},
        DueCase{"clockSetBackwardsDaily",
                dated(day(12), Frequency::Daily, day(14)),
                day(13),
                noPrices,
                {},
                u"2026-12-15"_s},
        DueCase{"clockSetBackwardsOnce",
                dated(day(12), Frequency::OnDate, day(12)),
                day(11),
                noPrices,
                {},
                {}},
        DueCase{"clockSetBackwardsWeekly",
                dated(day(3), Frequency::Weekly, day(10)),
                day(9),
                noPrices,
                {},
                u"2026-12-17"_s},
        DueCase{"noDateNoReminder", targeted({}, {}, {}), day(10), noPrices, {}, {}},
        DueCase{"targetCrossedUpwards",
                targeted(21, 30, 10.5),
                day(10),
                {{u"600000"_s, 21.02}},
                {u"reach 21 at 21.02"_s},
                {}},
        DueCase{"targetNotYetUp", targeted(21, 30, 10.5), day(10), {{u"600000"_s, 20.99}}, {}, {}},
        DueCase{"bothTargetsAtOnce",
                targeted(21, 30, 10.5),
                day(10),
                {{u"600000"_s, 30}},
                {u"reach 21 at 30"_s, u"high 30 at 30"_s},
                {}},
        DueCase{"targetCrossedDownwards",
                targeted(9, {}, 10.5),
                day(10),
                {{u"600000"_s, 8.9}},
                {u"reach 9 at 8.9"_s},
                {}},
        DueCase{"downwardTargetNotByRising",
                targeted(9, {}, 10.5),
                day(10),
                {{u"600000"_s, 12}},
                {},
                {}},
        DueCase{"withoutBaseRisingIsAssumed",
                targeted(21, {}, {}),
                day(10),
                {{u"600000"_s, 22}},
                {u"reach 21 at 22"_s},
                {}},
        DueCase{
            "targetFiresOnce", targeted(21, {}, 10.5, true), day(10), {{u"600000"_s, 25}}, {}, {}},
        DueCase{"anotherStocksPrice", targeted(21, {}, 10.5), day(10), {{u"600001"_s, 25}}, {}, {}},
        DueCase{
            "missingPriceIgnored", targeted(21, {}, 10.5), day(10), {{u"600000"_s, 0}}, {}, {}}),
    [](const auto& row) { return std::string(row.param.label); });

TEST(DueReminders, MessageNamesTheStockAndTheNote)
{
    NoteReminder note = targeted(21, {}, 10.5);
    note.text = u"\n2026-12-08 600000 浦发银行 300股 价格:10.5\r\n第二行"_s;
    const AlertMessage message =
        alertMessage(note, {7, AlertKind::Target, {}, ReachTarget, 21.5, 21});
    EXPECT_EQ(message.title, u"股市日志提醒"_s);
    EXPECT_EQ(
        message.text,
        u"600000 浦发银行 时价21.5已达到目标价21\n2026-12-08 600000 浦发银行 300股 价格:10.5"_s);
    const AlertMessage date = alertMessage(dated(day(12), Frequency::OnDate),
                                           {7, AlertKind::Date, day(12), ReachTarget, 0, 0});
    EXPECT_EQ(date.text, u"600000 浦发银行 提醒日期已到: 2026-12-12"_s);
}

TEST(DueReminders, TargetsText)
{
    NoteReminder note = targeted(21, 30.5, 10.5, true);
    EXPECT_EQ(targetsText(note), u"21(已到) / 30.5"_s);
}

} // namespace
