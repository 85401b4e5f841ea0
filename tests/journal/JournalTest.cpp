#include "JournalTestSupport.h"

#include "journal/JournalGrid.h"

using namespace Qt::StringLiterals;
using namespace corvanta;
using namespace corvanta::journal;
using namespace corvanta::journal::testing;

namespace {

QStringList codesOf(const QList<JournalNote>& notes)
{
    QStringList codes;
    for (const JournalNote& note : notes)
        codes << note.code;
    return codes;
}

TEST_F(JournalTest, AddWritesTodayTheFieldsAndTheRating)
{
    journal.setCurrentRating(QStringLiteral("三星级"));
    const qint64 id = added(
        draft(QStringLiteral("000000"), QStringLiteral("无名股票"), QStringLiteral("第一行")));
    const auto note = journal.note(id);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->date, QStringLiteral("2026-12-10"));
    EXPECT_EQ(note->code, QStringLiteral("000000"));
    EXPECT_EQ(note->name, QStringLiteral("无名股票"));
    EXPECT_EQ(note->price, QStringLiteral("10.50"));
    EXPECT_EQ(note->open, QStringLiteral("10.20"));
    EXPECT_EQ(note->lastClose, QStringLiteral("10.10"));
    EXPECT_EQ(note->activeBuying, QStringLiteral("1200"));
    EXPECT_EQ(note->activeSelling, QStringLiteral("800"));
    EXPECT_EQ(note->rating, QStringLiteral("三星级"));
    EXPECT_EQ(note->text, QStringLiteral("第一行"));
}

TEST_F(JournalTest, QuotesAndSeveralLinesAreStoredExactly)
{
    const QString text = QStringLiteral("He said \"buy\"; it's O'Neil's rule\r\n"
                                        "第二行 '); DELETE FROM dxgp; --\n\n  末行  ");
    const QString name = QStringLiteral("O'\"股份");
    const qint64 first = added(draft(QStringLiteral("600000"), name, text));
    added(draft(QStringLiteral("600001"), QStringLiteral("邯郸钢铁")));
    EXPECT_EQ(journal.note(first)->text, text);
    EXPECT_EQ(journal.note(first)->name, name);
    EXPECT_EQ(count("SELECT count(*) FROM dxgp"), 2);

    ASSERT_TRUE(journal.save(first, draft(QStringLiteral("600000"), name, text + u'\''), notifier)
                    .written());
    EXPECT_EQ(journal.note(first)->text, text + u'\'');
}

TEST_F(JournalTest, RatingAppliesToEveryLaterAddAndSave)
{
    const qint64 unrated = added(draft(QStringLiteral("600000"), QStringLiteral("浦发银行")));
    EXPECT_EQ(journal.note(unrated)->rating, QString());

    journal.setCurrentRating(QStringLiteral("五星级"));
    const qint64 later = added(draft(QStringLiteral("000709"), QStringLiteral("唐钢股份")));
    EXPECT_EQ(journal.note(later)->rating, QStringLiteral("五星级"));

    // A save of a note that was never rated takes the current rating too.
    ASSERT_TRUE(
        journal.save(unrated, draft(QStringLiteral("600000"), QStringLiteral("浦发银行")), notifier)
            .written());
    EXPECT_EQ(journal.note(unrated)->rating, QStringLiteral("五星级"));
}

TEST_F(JournalTest, BlankRatingLeavesTheSavedNotesRating)
{
    journal.setCurrentRating(QStringLiteral("二星级"));
    const qint64 id = added(draft(QStringLiteral("600000"), QStringLiteral("浦发银行")));
    journal.setCurrentRating(QStringLiteral("  "));
    ASSERT_TRUE(
        journal.save(id, draft(QStringLiteral("600000"), QStringLiteral("浦发银行")), notifier)
            .written());
    EXPECT_EQ(journal.note(id)->rating, QStringLiteral("二星级"));
}

TEST_F(JournalTest, SaveMovesTheNoteToTheCurrentStockAndKeepsItsDate)
{
    const qint64 id =
        added(draft(QStringLiteral("600000"), QStringLiteral("浦发银行")), QDate(2026, 11, 2));
    NoteDraft other =
        draft(QStringLiteral("000709"), QStringLiteral("唐钢股份"), QStringLiteral("改过的"));
    other.price = QStringLiteral("-");
    ASSERT_TRUE(journal.save(id, other, notifier).written());
    const auto note = journal.note(id);
    EXPECT_EQ(note->date, QStringLiteral("2026-11-02"));
    EXPECT_EQ(note->code, QStringLiteral("000709"));
    EXPECT_EQ(note->name, QStringLiteral("唐钢股份"));
    EXPECT_EQ(note->price, QStringLiteral("-"));
    EXPECT_EQ(note->text, QStringLiteral("改过的"));
}

TEST_F(JournalTest, SaveIntoAnEmptyViewAddsANoteWithoutDate)
{
    journal.setCurrentRating(QStringLiteral("四星级"));
    const WriteOutcome outcome = journal.save(
        std::nullopt, draft(QStringLiteral("600000"), QStringLiteral("浦发银行")), notifier);
    ASSERT_TRUE(outcome.written());
    EXPECT_EQ(journal.note(outcome.id)->date, QString());
    EXPECT_EQ(journal.note(outcome.id)->rating, QStringLiteral("四星级"));
}

TEST_F(JournalTest, SaveOfADeletedNoteIsRefused)
{
    const qint64 id = added(draft(QStringLiteral("600000"), QStringLiteral("浦发银行")));
    ASSERT_TRUE(journal.remove(id, notifier));
    const auto announced = log.changes.size();
    const WriteOutcome outcome =
        journal.save(id, draft(QStringLiteral("600000"), QStringLiteral("浦发银行")), notifier);
    EXPECT_FALSE(outcome.written());
    EXPECT_EQ(count("SELECT count(*) FROM dxgp"), 0);
    EXPECT_EQ(log.changes.size(), announced);
}

struct Overlong {
    const char* label;
    NoteDraft draft;
    QString rating;
    QString message;
};

class OverlongValues : public JournalTest, public ::testing::WithParamInterface<Overlong> {};

TEST_P(OverlongValues, AreRefusedBeforeAnythingIsWritten)
{
    const qint64 id = added(draft(QStringLiteral("600000"), QStringLiteral("浦发银行")));
    const JournalNote before = *journal.note(id);
    const auto announced = log.changes.size();
    journal.setCurrentRating(GetParam().rating);

    const WriteOutcome add = journal.add(GetParam().draft, QDate(2026, 12, 10), notifier);
    EXPECT_EQ(add.refusal, GetParam().message + u"添加!");
    const WriteOutcome save = journal.save(id, GetParam().draft, notifier);
    EXPECT_EQ(save.refusal, GetParam().message + u"保存!");

    EXPECT_EQ(count("SELECT count(*) FROM dxgp"), 1);
    EXPECT_EQ(journal.note(id)->text, before.text);
    EXPECT_EQ(journal.note(id)->name, before.name);
    EXPECT_EQ(log.changes.size(), announced);
}

NoteDraft withField(QString NoteDraft::*field, const QString& value)
{
    NoteDraft note = draft(QStringLiteral("600000"), QStringLiteral("浦发银行"));
    note.*field = value;
    return note;
}

INSTANTIATE_TEST_SUITE_P(
    Columns, OverlongValues,
    ::testing::Values(
        Overlong{"code",
                 withField(&NoteDraft::code, QStringLiteral("6000001")),
                 {},
                 QStringLiteral("股票代码“6000001”超过6个字符,不能")},
        Overlong{"name",
                 withField(&NoteDraft::name, QStringLiteral("一二三四五六七八九十甲")),
                 {},
                 QStringLiteral("股票名“一二三四五六七八九十甲”超过10个字符,不能")},
        Overlong{"price",
                 withField(&NoteDraft::price, QStringLiteral("12345.67890")),
                 {},
                 QStringLiteral("时价“12345.67890”超过10个字符,不能")},
        Overlong{"activeSelling",
                 withField(&NoteDraft::activeSelling, QStringLiteral("12345678901")),
                 {},
                 QStringLiteral("主卖“12345678901”超过10个字符,不能")},
        Overlong{"rating", draft(QStringLiteral("600000"), QStringLiteral("浦发银行")),
                 QStringLiteral("五星级五星级五星级五星"),
                 QStringLiteral("评级“五星级五星级五星级五星”超过10个字符,不能")}),
    [](const auto& row) { return std::string(row.param.label); });

TEST_F(JournalTest, ValuesThatJustFitAreWritten)
{
    NoteDraft note = draft(QStringLiteral("600000"), QStringLiteral("一二三四五六七八九十"));
    note.price = QStringLiteral("12345.6789");
    EXPECT_TRUE(journal.add(note, QDate(2026, 12, 10), notifier).written());
}

struct FilterCase {
    const char* label;
    RatingFilter filter;
    QStringList codes;
};

class Filters : public JournalTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(Filters, ShowOnlyNotesOfExactlyThatRating)
{
    const std::pair<const char16_t*, const char16_t*> notes[] = {
        {u"600001", u"五星级"}, {u"600002", u"四星级"}, {u"600003", u""},
        {u"600004", u"三星级"}, {u"600005", u"二星级"}, {u"600006", u"五星级"},
        {u"600007", u"五星级 "}};
    for (const auto& [code, rating] : notes) {
        journal.setCurrentRating(QString::fromUtf16(rating));
        added(draft(QString::fromUtf16(code), QStringLiteral("某股")));
    }
    EXPECT_EQ(codesOf(journal.notes(GetParam().filter, NoteOrder::ByEntry)), GetParam().codes);
}

INSTANTIATE_TEST_SUITE_P(
    Ratings, Filters,
    ::testing::Values(FilterCase{"all",
                                 RatingFilter::All,
                                 {u"600001"_s, u"600002"_s, u"600003"_s, u"600004"_s, u"600005"_s,
                                  u"600006"_s, u"600007"_s}},
                      FilterCase{"five", RatingFilter::FiveStars, {u"600001"_s, u"600006"_s}},
                      FilterCase{"four", RatingFilter::FourStars, {u"600002"_s}},
                      FilterCase{"three", RatingFilter::ThreeStars, {u"600004"_s}},
                      FilterCase{"two", RatingFilter::TwoStars, {u"600005"_s}}),
    [](const auto& row) { return std::string(row.param.label); });

TEST_F(JournalTest, OpeningOrderIsByDateThenNameLaterOrderByEntry)
{
    added(draft(QStringLiteral("600002"), QStringLiteral("Ｂ股份")), QDate(2026, 12, 3));
    added(draft(QStringLiteral("600001"), QStringLiteral("Ａ股份")), QDate(2026, 12, 3));
    added(draft(QStringLiteral("600003"), QStringLiteral("丙")), QDate(2026, 12, 1));
    EXPECT_EQ(codesOf(journal.notes(RatingFilter::All, NoteOrder::ByDateAndName)),
              (QStringList{u"600003"_s, u"600001"_s, u"600002"_s}));
    EXPECT_EQ(codesOf(journal.notes(RatingFilter::All, NoteOrder::ByEntry)),
              (QStringList{u"600002"_s, u"600001"_s, u"600003"_s}));
}

TEST_F(JournalTest, RemoveAndClearTakeTheRemindersWithThem)
{
    const qint64 first = added(draft(QStringLiteral("600001"), QStringLiteral("甲")));
    const qint64 second = added(draft(QStringLiteral("600002"), QStringLiteral("乙")));
    ReminderSettings settings;
    settings.date = QDate(2026, 12, 20);
    ASSERT_TRUE(journal.setReminder(first, settings, notifier));
    ASSERT_TRUE(journal.setReminder(second, settings, notifier));

    EXPECT_TRUE(journal.remove(first, notifier));
    EXPECT_FALSE(journal.remove(first, notifier));
    EXPECT_EQ(count("SELECT count(*) FROM dxgp_reminder"), 1);

    journal.clear(notifier);
    EXPECT_EQ(count("SELECT count(*) FROM dxgp"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM dxgp_reminder"), 0);
}

TEST_F(JournalTest, EveryWriteIsAnnouncedAsAJournalChangeAfterItsCommit)
{
    bool committedWhenAnnounced = false;
    QObject::connect(&notifier, &ledger::LedgerNotifier::changed,
                     [&] { committedWhenAnnounced = !db.inTransaction(); });
    const qint64 id = added(draft(QStringLiteral("600001"), QStringLiteral("甲")));
    journal.save(id, draft(QStringLiteral("600001"), QStringLiteral("甲")), notifier);
    journal.setReminder(id, {}, notifier);
    journal.remove(id, notifier);
    journal.clear(notifier);
    EXPECT_TRUE(committedWhenAnnounced);
    ASSERT_EQ(log.changes.size(), 5);
    for (const auto& change : log.changes)
        EXPECT_EQ(change, ledger::LedgerChanges(ledger::LedgerChange::Journal));
}

TEST_F(JournalTest, ReminderSettingsKeepWhatFiredUnlessTheyChange)
{
    const qint64 id = added(draft(QStringLiteral("600001"), QStringLiteral("甲")));
    ReminderSettings settings;
    settings.date = QDate(2026, 12, 10);
    settings.frequency = Frequency::Weekly;
    settings.period = QStringLiteral("20");
    settings.targets = {21.0, 30.0};
    settings.basePrice = 10.5;
    ASSERT_TRUE(journal.setReminder(id, settings, notifier));
    journal.markReported({{id, AlertKind::Date, QDate(2026, 12, 10), ReachTarget, 0, 0},
                          {id, AlertKind::Target, {}, ReachTarget, 22, 21},
                          {id, AlertKind::Target, {}, HighTarget, 31, 30}},
                         notifier);

    settings.targets[HighTarget] = 35.0;
    settings.basePrice = 22.0;
    ASSERT_TRUE(journal.setReminder(id, settings, notifier));
    NoteReminder stored = journal.reminders().value(0);
    EXPECT_EQ(stored.lastReminded, QDate(2026, 12, 10));
    EXPECT_TRUE(stored.targets[ReachTarget].fired);
    EXPECT_FALSE(stored.targets[HighTarget].fired);
    EXPECT_EQ(stored.targets[HighTarget].level, 35.0);
    EXPECT_EQ(stored.targets[ReachTarget].basePrice, 10.5);
    EXPECT_EQ(stored.targets[HighTarget].basePrice, 22.0);
    EXPECT_EQ(stored.period, QStringLiteral("20"));

    settings.frequency = Frequency::Daily;
    ASSERT_TRUE(journal.setReminder(id, settings, notifier));
    stored = journal.reminders().value(0);
    EXPECT_EQ(stored.lastReminded, std::nullopt);
    EXPECT_EQ(stored.frequency, Frequency::Daily);

    EXPECT_FALSE(journal.setReminder(id + 1, settings, notifier));
}

} // namespace

namespace {

TEST_F(JournalTest, SaveWithAReminderWritesBothOrNeither)
{
    const qint64 id = added(draft(QStringLiteral("600001"), QStringLiteral("甲")));
    ReminderSettings reminder;
    reminder.date = QDate(2026, 12, 20);
    reminder.targets = {21.0, std::nullopt};
    ASSERT_TRUE(
        journal.save(id, draft(QStringLiteral("600001"), QStringLiteral("甲")), notifier, &reminder)
            .written());
    EXPECT_EQ(journal.reminders().value(0).date, QDate(2026, 12, 20));

    // A refused save leaves the reminder as it was.
    reminder.date = QDate(2027, 1, 5);
    EXPECT_FALSE(
        journal
            .save(id, draft(QStringLiteral("6000011"), QStringLiteral("甲")), notifier, &reminder)
            .written());
    EXPECT_EQ(journal.reminders().value(0).date, QDate(2026, 12, 20));
}

TEST_F(JournalTest, GridRowsAlternateRedAndBlueAndCarryTheReminders)
{
    const qint64 first = added(draft(QStringLiteral("600001"), QStringLiteral("甲")));
    added(draft(QStringLiteral("600002"), QStringLiteral("乙")));
    added(draft(QStringLiteral("600003"), QStringLiteral("丙")));
    ReminderSettings reminder;
    reminder.date = QDate(2026, 12, 20);
    reminder.targets = {21.0, 30.5};
    ASSERT_TRUE(journal.setReminder(first, reminder, notifier));

    const QList<JournalGridRow> rows =
        journalGridRows(journal.notes(RatingFilter::All, NoteOrder::ByEntry), journal.reminders(),
                        QDate(2026, 12, 10), {first});
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].colour, Qt::red);
    EXPECT_EQ(rows[1].colour, Qt::blue);
    EXPECT_EQ(rows[2].colour, Qt::red);
    EXPECT_EQ(rows[0].cells[NextReminderColumn], QStringLiteral("2026-12-20"));
    EXPECT_EQ(rows[0].cells[TargetsColumn], QStringLiteral("21 / 30.5"));
    EXPECT_TRUE(rows[0].alerted);
    EXPECT_EQ(rows[1].cells[NextReminderColumn], QString());
    EXPECT_FALSE(rows[1].alerted);
    EXPECT_EQ(rows[2].cells[CodeColumn], QStringLiteral("600003"));
    EXPECT_EQ(rows[2].cells[ActiveSellingColumn], QStringLiteral("800"));
    EXPECT_EQ(journalColumnTitles()[NextReminderColumn], QStringLiteral("下次提醒"));
}

} // namespace
