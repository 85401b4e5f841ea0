#include "Command.h"

#include "app/CommandLine.h"
#include "app/PasswordInput.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerPassword.h"
#include "ledger/RestoreRun.h"
#include "ledger/sql/Database.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app::commands {

namespace {

// The restore's questions answered by the command: --yes confirms, and the
// password of a backup made under another one is asked once on the terminal.
class RestoreFlags : public ledger::RestoreAnswers {
public:
    explicit RestoreFlags(CommandRun& run) : m_run(run) {}
    bool confirm() override { return m_run.words.isSet(u"yes"_s); }
    void askBackupPassword(const QString& backup,
                           const std::function<QString(const QByteArray&)>& tryPassword) override
    {
        std::optional<QByteArray> typed =
            askOnTerminal(ledger::passwordTexts::askForBackup(backup));
        if (!typed)
            return;
        tryPassword(*typed);
        typed->fill('\0');
    }

private:
    CommandRun& m_run;
};

int restore(CommandRun& run)
{
    ledger::LedgerNotifier notifier; // nothing else has the ledger open
    ledger::RestoreRun restore(run.db, notifier);
    RestoreFlags flags(run);
    try {
        const ledger::RestoreRun::Started started = restore.start(run.argument(0), flags);
        switch (started.start) {
        case ledger::RestoreRun::Start::Begun:
            break;
        case ledger::RestoreRun::Start::Declined:
            return run.misused(u"恢复将覆盖账本中的所有交易记录和股票代码表，确认请加 --yes。"_s);
        case ledger::RestoreRun::Start::NoPassword:
            return run.fail(started.why);
        case ledger::RestoreRun::Start::NoSafetyCopy:
            return run.fail(u"无法建立安全备份，没有改动账本："_s + started.why);
        }
        run.out << u"安全备份："_s << shown(restore.safetyCopy()) << '\n';
        restore.finish();
    } catch (const ledger::BackupError& error) {
        return run.fail(error.message());
    } catch (const sql::Error& error) {
        run.out << u"账本没有改动，安全备份已删除。"_s << '\n';
        return run.fail(u"恢复失败，账本没有任何改动："_s + inWords(error) + u"。"_s);
    }
    run.out << restore.progress().status << u"：交易记录 "_s << restore.tradeCount()
            << u" 条，股票代码 "_s << restore.stockCount() << u" 条。"_s << '\n';
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
