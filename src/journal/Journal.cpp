#include "Journal.h"

#include "ledger/LedgerChanges.h"
#include "ledger/sql/Database.h"
#include "ledger/sql/Statement.h"

namespace corvanta::journal {

namespace {

constexpr char selectNotes[] =
    "SELECT ID,日期,股票代码,股票名,时价,今开,昨收,主买,主卖,评级,基本资料 FROM dxgp";

JournalNote readNote(const sql::Statement& query)
{
    JournalNote note;
    note.id = query.int64(0);
    note.date = query.text(1);
    note.code = query.text(2);
    note.name = query.text(3);
    note.price = query.text(4);
    note.open = query.text(5);
    note.lastClose = query.text(6);
    note.activeBuying = query.text(7);
    note.activeSelling = query.text(8);
    note.rating = query.text(9);
    note.text = query.text(10);
    return note;
}

// Binds the draft's eight values to parameters 1 to 8.
void bindDraft(sql::Statement& statement, const NoteDraft& draft)
{
    statement.bind(1, draft.code)
        .bind(2, draft.name)
        .bind(3, draft.price)
        .bind(4, draft.open)
        .bind(5, draft.lastClose)
        .bind(6, draft.activeBuying)
        .bind(7, draft.activeSelling)
        .bind(8, draft.text);
}

void bindOptional(sql::Statement& statement, int index, const std::optional<double>& value)
{
    if (value)
        statement.bind(index, *value);
    else
        statement.bindNull(index);
}

std::optional<QDate> optionalDate(const sql::Statement& query, int column)
{
    if (query.isNull(column))
        return std::nullopt;
    const QDate date = QDate::fromString(query.text(column), u"yyyy-MM-dd");
    return date.isValid() ? std::optional(date) : std::nullopt;
}

QString dateText(const std::optional<QDate>& date)
{
    return date ? date->toString(u"yyyy-MM-dd") : QString();
}

} // namespace

QList<JournalNote> Journal::notes(RatingFilter filter, NoteOrder order) const
{
    const std::optional<QString> rating = filterRating(filter);
    QByteArray sql = selectNotes;
    if (rating)
        sql += " WHERE 评级=?1";
    sql += order == NoteOrder::ByDateAndName ? " ORDER BY 日期,股票名,ID" : " ORDER BY ID";
    auto query = m_db.prepare(sql.constData());
    if (rating)
        query.bind(1, *rating);
    QList<JournalNote> notes;
    while (query.step())
        notes.append(readNote(query));
    return notes;
}

std::optional<JournalNote> Journal::note(qint64 id) const
{
    auto query = m_db.prepare(QByteArray(selectNotes).append(" WHERE ID=?1").constData());
    query.bind(1, id);
    if (!query.step())
        return std::nullopt;
    return readNote(query);
}

qint64 Journal::insertNote(const NoteDraft& draft, const QString& date)
{
    auto insert =
        m_db.prepare("INSERT INTO dxgp (股票代码,股票名,时价,今开,昨收,主买,主卖,基本资料,"
                     "评级,日期) VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10)");
    bindDraft(insert, draft);
    insert.bind(9, m_currentRating);
    if (date.isEmpty())
        insert.bindNull(10);
    else
        insert.bind(10, date);
    insert.run();
    return m_db.lastInsertId();
}

WriteOutcome Journal::add(const NoteDraft& draft, QDate today, ledger::LedgerNotifier& notifier)
{
    if (auto refusal = overlongValue(draft, m_currentRating, WriteKind::Add))
        return {0, *refusal};
    sql::Transaction transaction(m_db);
    const qint64 id = insertNote(draft, today.toString(u"yyyy-MM-dd"));
    transaction.commit();
    notifier.announce(ledger::LedgerChange::Journal);
    return {id, {}};
}

WriteOutcome Journal::save(std::optional<qint64> id, const NoteDraft& draft,
                           ledger::LedgerNotifier& notifier, const ReminderSettings* reminder)
{
    const bool rated = !m_currentRating.trimmed().isEmpty();
    if (auto refusal = overlongValue(draft, rated ? m_currentRating : QString(), WriteKind::Save))
        return {0, *refusal};
    sql::Transaction transaction(m_db);
    qint64 written = 0;
    if (!id) {
        written = insertNote(draft, {});
    } else {
        auto update = m_db.prepare("UPDATE dxgp SET 股票代码=?1,股票名=?2,时价=?3,今开=?4,昨收=?5,"
                                   "主买=?6,主卖=?7,基本资料=?8,"
                                   "评级=CASE WHEN ?9 THEN ?10 ELSE 评级 END WHERE ID=?11");
        bindDraft(update, draft);
        update.bind(9, qint64(rated)).bind(10, m_currentRating).bind(11, *id);
        update.run();
        if (m_db.changes() == 0)
            return {0, QStringLiteral("该日志已被删除,不能保存!")};
        written = *id;
    }
    if (reminder)
        writeReminder(written, *reminder);
    transaction.commit();
    notifier.announce(ledger::LedgerChange::Journal);
    return {written, {}};
}

bool Journal::remove(qint64 id, ledger::LedgerNotifier& notifier)
{
    sql::Transaction transaction(m_db);
    auto deleteNote = m_db.prepare("DELETE FROM dxgp WHERE ID=?1");
    deleteNote.bind(1, id).run();
    if (m_db.changes() == 0)
        return false;
    auto deleteReminder = m_db.prepare("DELETE FROM dxgp_reminder WHERE note_id=?1");
    deleteReminder.bind(1, id).run();
    transaction.commit();
    notifier.announce(ledger::LedgerChange::Journal);
    return true;
}

void Journal::clear(ledger::LedgerNotifier& notifier)
{
    sql::Transaction transaction(m_db);
    m_db.exec("DELETE FROM dxgp");
    m_db.exec("DELETE FROM dxgp_reminder");
    transaction.commit();
    notifier.announce(ledger::LedgerChange::Journal);
}

bool Journal::setReminder(qint64 id, const ReminderSettings& settings,
                          ledger::LedgerNotifier& notifier)
{
    sql::Transaction transaction(m_db);
    auto exists = m_db.prepare("SELECT 1 FROM dxgp WHERE ID=?1");
    exists.bind(1, id);
    if (!exists.step())
        return false;
    writeReminder(id, settings);
    transaction.commit();
    notifier.announce(ledger::LedgerChange::Journal);
    return true;
}

void Journal::writeReminder(qint64 id, const ReminderSettings& settings)
{
    // What fired, and the price a target was set at, are kept for whatever did not
    // change: setting the same target again does not turn its direction round.
    std::optional<QDate> lastReminded;
    std::array<bool, 2> fired{false, false};
    std::array<std::optional<double>, 2> bases;
    for (int index : {ReachTarget, HighTarget}) {
        if (settings.targets[index])
            bases[index] = settings.basePrice;
    }
    auto previous = m_db.prepare(
        "SELECT 提醒日期,提醒频率,已提醒日期,目标价,目标价已到,目标价基准,"
        "最高目标价,最高目标价已到,最高目标价基准 FROM dxgp_reminder WHERE note_id=?1");
    previous.bind(1, id);
    if (previous.step()) {
        if (optionalDate(previous, 0) == settings.date &&
            previous.int64(1) == qint64(settings.frequency))
            lastReminded = optionalDate(previous, 2);
        for (int index : {ReachTarget, HighTarget}) {
            const int column = 3 + 3 * index;
            if (!settings.targets[index] ||
                previous.optionalReal(column) != settings.targets[index])
                continue;
            fired[index] = previous.int64(column + 1) != 0;
            bases[index] = previous.optionalReal(column + 2);
        }
    }
    auto upsert = m_db.prepare("INSERT OR REPLACE INTO dxgp_reminder "
                               "(note_id,提醒日期,提醒频率,提醒周期,目标价,目标价基准,"
                               "最高目标价,最高目标价基准,已提醒日期,目标价已到,最高目标价已到) "
                               "VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11)");
    upsert.bind(1, id);
    if (settings.date)
        upsert.bind(2, dateText(settings.date));
    else
        upsert.bindNull(2);
    upsert.bind(3, qint64(settings.frequency)).bind(4, settings.period);
    bindOptional(upsert, 5, settings.targets[ReachTarget]);
    bindOptional(upsert, 6, bases[ReachTarget]);
    bindOptional(upsert, 7, settings.targets[HighTarget]);
    bindOptional(upsert, 8, bases[HighTarget]);
    if (lastReminded)
        upsert.bind(9, dateText(lastReminded));
    else
        upsert.bindNull(9);
    upsert.bind(10, qint64(fired[ReachTarget])).bind(11, qint64(fired[HighTarget]));
    upsert.run();
}

QList<NoteReminder> Journal::reminders() const
{
    auto query = m_db.prepare(
        "SELECT d.ID,d.股票代码,d.股票名,d.基本资料,r.提醒日期,r.提醒频率,r.提醒周期,r.已提醒日期,"
        "r.目标价,r.目标价基准,r.目标价已到,r.最高目标价,r.最高目标价基准,r.最高目标价已到 "
        "FROM dxgp_reminder r JOIN dxgp d ON d.ID=r.note_id ORDER BY d.ID");
    QList<NoteReminder> reminders;
    while (query.step()) {
        NoteReminder note;
        note.noteId = query.int64(0);
        note.code = query.text(1);
        note.name = query.text(2);
        note.text = query.text(3);
        note.date = optionalDate(query, 4);
        const qint64 frequency = query.int64(5);
        note.frequency = frequency == 1   ? Frequency::Daily
                         : frequency == 2 ? Frequency::Weekly
                                          : Frequency::OnDate;
        note.period = query.text(6);
        note.lastReminded = optionalDate(query, 7);
        for (int index : {ReachTarget, HighTarget}) {
            const int column = 8 + 3 * index;
            note.targets[index] = {query.optionalReal(column), query.optionalReal(column + 1),
                                   query.int64(column + 2) != 0};
        }
        reminders.append(note);
    }
    return reminders;
}

void Journal::markReported(const QList<DueAlert>& alerts, ledger::LedgerNotifier& notifier)
{
    if (alerts.isEmpty())
        return;
    sql::Transaction transaction(m_db);
    // A date is only ever moved forward, so a clock set back repeats nothing.
    auto dateReported = m_db.prepare("UPDATE dxgp_reminder SET 已提醒日期=?2 WHERE note_id=?1 AND "
                                     "(已提醒日期 IS NULL OR 已提醒日期<?2)");
    auto reachReported = m_db.prepare("UPDATE dxgp_reminder SET 目标价已到=1 WHERE note_id=?1");
    auto highReported = m_db.prepare("UPDATE dxgp_reminder SET 最高目标价已到=1 WHERE note_id=?1");
    for (const DueAlert& alert : alerts) {
        sql::Statement& statement = alert.kind == AlertKind::Date ? dateReported
                                    : alert.target == ReachTarget ? reachReported
                                                                  : highReported;
        statement.bind(1, alert.noteId);
        if (alert.kind == AlertKind::Date)
            statement.bind(2, alert.occurrence.toString(u"yyyy-MM-dd"));
        statement.run();
        statement.reset();
    }
    transaction.commit();
    notifier.announce(ledger::LedgerChange::Journal);
}

} // namespace corvanta::journal
