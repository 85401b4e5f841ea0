#include "Command.h"

#include "app/CommandLine.h"
#include "ledger/LedgerBackup.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

int backup(CommandRun& run)
{
    const QString target = run.argument(0);
    try {
        ledger::backupLedger(run.db, target);
    } catch (const ledger::BackupError& error) {
        return run.fail(error.message());
    }
    run.out << u"备份成功！"_s << ' ' << shown(target) << '\n';
    return CommandDone;
}

} // namespace

CommandEntry backupCommand()
{
    return {
        .name = u"backup"_s,
        .synopsis = u"backup FILE"_s,
        .help = {u"把账本备份到 FILE（已有的文件被替换）"_s},
        .options = {},
        .arguments = {u"FILE"_s},
        .writesFirstArgument = true,
        .run = backup,
    };
}

} // namespace corvanta::app::commands
