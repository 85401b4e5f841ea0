#include "Command.h"

#include "app/CommandLine.h"
#include "app/PasswordCommand.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerRestore.h"
#include "ledger/sql/Database.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int restore(CommandRun& run)
{
    if (!run.words.isSet(u"yes"_s)) {
        return run.misused(u"恢复将覆盖账本中的所有交易记录和股票代码表，确认请加 --yes。"_s);
    }
    std::optional<QString> copy;
    try {
        const auto restore = openRestoreSource(run.db, run.argument(0));
        copy = run.safetyCopy();
        if (!copy)
            return CommandFailed;
        restore->finish();
        run.out << restore->progress().status << u"：交易记录 "_s << restore->tradeCount()
                << u" 条，股票代码 "_s << restore->stockCount() << u" 条。"_s << '\n';
    } catch (const ledger::BackupError& error) {
        if (copy)
            run.dropSafetyCopy(*copy);
        return run.fail(error.message());
    } catch (const sql::Error& error) {
        if (copy)
            run.dropSafetyCopy(*copy);
        return run.fail(u"恢复失败，账本没有任何改动："_s + inWords(error) + u"。"_s);
    }
    return CommandDone;
}

} // namespace

CommandEntry restoreCommand()
{
    return {
        .name = u"restore"_s,
        .synopsis = u"restore FILE --yes"_s,
        .help = {u"用备份 FILE 中的交易记录和股票代码表替换账本中的"_s,
                 u"（先在 backups 文件夹中留一份安全备份）"_s},
        .options = {QCommandLineOption(u"yes"_s, u"确认恢复"_s)},
        .arguments = {u"FILE"_s},
        .writesFirstArgument = false,
        .run = restore,
    };
}

} // namespace corvanta::app::commands
