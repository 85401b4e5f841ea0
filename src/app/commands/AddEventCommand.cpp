#include "Command.h"

#include "app/CommandLine.h"
#include "ledger/LedgerMessages.h"
#include "ledger/LedgerWriter.h"
#include "report/StockEventList.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int addEvent(CommandRun& run)
{
    const QString code = run.argument(0);
    if (!run.words.isSet(u"record"_s) || !run.words.isSet(u"ex"_s))
        return run.misused(u"add-event: 请用 --record 和 --ex 指明股权登记日和除权除息日。"_s);
    try {
        const std::optional<QString> name = report::stockNameOfCode(run.db, code);
        if (!name)
            return run.fail(u"没有代码为 "_s + code + u" 的股票。"_s);
        ledger::EventEntry entry;
        entry.code = code;
        entry.name = *name;
        entry.record = QDate::fromString(run.words.value(u"record"_s), Qt::ISODate);
        entry.ex = QDate::fromString(run.words.value(u"ex"_s), Qt::ISODate);
        entry.cash = run.words.value(u"cash"_s);
        entry.bonus = run.words.value(u"bonus"_s);
        entry.transfer = run.words.value(u"transfer"_s);
        entry.rights = run.words.value(u"rights"_s);
        entry.rightsPrice = run.words.value(u"rights-price"_s);

        ledger::LedgerNotifier notifier;
        ledger::LedgerWriter writer(run.db, notifier);
        const ledger::EventLedger::Inspection inspection = writer.inspectEvent(entry);
        if (!inspection.refusal.isEmpty())
            return run.fail(inspection.refusal);
        // Inspected without a refusal: the entry reads.
        const auto terms = std::get<calc::StockEvent>(ledger::readEventEntry(entry));
        run.out << *name << u"（"_s << code << u"）"_s << report::eventScheme(terms) << u"："_s
                << inspection.entitlement << '\n';
        if (inspection.nothingHeld)
            run.out << u"股权登记日 "_s << entry.record.toString(Qt::ISODate)
                    << u" 账本里没有持有该股票。"_s << '\n';
        const bool subscribe = run.words.isSet(u"subscribe"_s);
        if (subscribe && (terms.rights <= 0 || inspection.nothingHeld))
            return run.fail(ledger::messages::events::noRights.toString());
        if (!run.words.isSet(u"yes"_s))
            return run.misused(u"没有保存：确认保存请加 --yes。"_s);
        const ledger::EventSaveOutcome outcome = writer.addEvent(entry, true);
        if (!outcome.saved())
            return run.fail(outcome.message);
        if (subscribe) {
            // The same payment the 分红送配 window's 配股缴款 makes.
            const ledger::RecordOutcome paid = writer.subscribeRights(outcome.id);
            if (!paid.recorded())
                return run.fail(u"分红送配已保存，配股缴款没有记录："_s + paid.refusal);
            run.out << u"分红送配已保存。配股缴款已记为买入。"_s << '\n';
            return CommandDone;
        }
    } catch (const sql::Error& error) {
        return run.fail(u"无法写入账本："_s + inWords(error) + u"。账本没有任何改动。"_s);
    }
    run.out << u"分红送配已保存。"_s << '\n';
    return CommandDone;
}

} // namespace

CommandEntry addEventCommand()
{
    return {
        .name = u"add-event"_s,
        .synopsis = u"add-event CODE --record YYYY-MM-DD --ex YYYY-MM-DD [--cash X] [--bonus Y] "
                    u"[--transfer Z] [--rights W --rights-price P [--subscribe]] [--yes]"_s,
        .help = {u"记录股票的一次分红送配，比例都是每 10 股；"_s,
                 u"不加 --yes 只显示按账本登记日持股算出的派现和送转"_s},
        .options = {QCommandLineOption(u"record"_s, u"股权登记日"_s, u"YYYY-MM-DD"_s),
                    QCommandLineOption(u"ex"_s, u"除权除息日"_s, u"YYYY-MM-DD"_s),
                    QCommandLineOption(u"cash"_s, u"每 10 股派现（元，税前）"_s, u"X"_s),
                    QCommandLineOption(u"bonus"_s, u"每 10 股送股"_s, u"Y"_s),
                    QCommandLineOption(u"transfer"_s, u"每 10 股转增"_s, u"Z"_s),
                    QCommandLineOption(u"rights"_s, u"每 10 股配股"_s, u"W"_s),
                    QCommandLineOption(u"rights-price"_s, u"配股价（元）"_s, u"P"_s),
                    QCommandLineOption(u"subscribe"_s,
                                       u"配股缴款：可配股数按配股价在除权除息日记为买入"_s),
                    QCommandLineOption(u"yes"_s, u"确认保存"_s)},
        .arguments = {u"CODE"_s},
        .writesFirstArgument = false,
        .run = addEvent,
    };
}

} // namespace corvanta::app::commands
