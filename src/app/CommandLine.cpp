#include "CommandLine.h"

#include "CsvExport.h"
#include "PasswordCommand.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerLock.h"
#include "ledger/LedgerRestore.h"
#include "ledger/SafetyCopies.h"
#include "ledger/SeedList.h"
#include "ledger/Settings.h"
#include "ledger/StatementDuplicates.h"
#include "ledger/StatementImport.h"

#include "exchange/ImportTexts.h"
#include "exchange/StatementParser.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <optional>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

const QStringList subcommands = {u"backup"_s,        u"restore"_s,        u"import"_s,
                                 u"export-ledger"_s, u"export-summary"_s, u"password"_s};

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A subcommand's words: the file and the options given.
struct Words {
    QString file;
    QStringList flags;
    QString broker;
    QString passwordFile;    // --password-file: opens a ledger with a personal password
    QString newPasswordFile; // --new-password-file: for `password set|change`
    QString unknown;         // the first word that is not understood
};

Words readWords(const QStringList& arguments)
{
    Words words;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == u"--broker"_s && i + 1 < arguments.size()) {
            words.broker = arguments[++i];
        } else if (word.startsWith(u"--broker="_s)) {
            words.broker = word.mid(9);
        } else if (word == u"--password-file"_s && i + 1 < arguments.size()) {
            words.passwordFile = arguments[++i];
        } else if (word == u"--new-password-file"_s && i + 1 < arguments.size()) {
            words.newPasswordFile = arguments[++i];
        } else if (word.startsWith(u"--"_s)) {
            words.flags << word;
        } else if (words.file.isEmpty()) {
            words.file = word;
        } else if (words.unknown.isEmpty()) {
            words.unknown = word;
        }
    }
    return words;
}

class Runner {
public:
    Runner(const QString& ledgerPath, QTextStream& out, QTextStream& err)
        : m_path(ledgerPath), m_out(out), m_err(err)
    {
    }

    int run(const QString& command, const Words& words);

private:
    int fail(const QString& text)
    {
        m_err << text << '\n';
        return CommandFailed;
    }
    bool openLedger(const Words& words);
    // A safety copy before a change that replaces data; false when none could be made.
    bool safetyCopy();

    int backup(const Words& words);
    int restore(const Words& words);
    int importStatement(const Words& words);
    int exportLedger(const Words& words);
    int exportSummary(const Words& words);

    QString m_path;
    QTextStream& m_out;
    QTextStream& m_err;
    std::optional<sql::Database> m_db;
};

bool Runner::openLedger(const Words& words)
{
    try {
        m_db.emplace(ledger::openLedger(m_path, ledger::loadSeedList()));
        return true;
    } catch (const ledger::LedgerOpenError& error) {
        if (error.mayHavePassword()) {
            m_db = openWithPassword(m_path, words.passwordFile, error, m_err);
            return m_db.has_value();
        }
        fail(error.message());
    } catch (const std::exception& error) {
        fail(u"无法打开账本："_s + QString::fromUtf8(error.what()));
    }
    return false;
}

bool Runner::safetyCopy()
{
    try {
        const QString copy = ledger::SafetyCopies(m_path).make(*m_db, QDateTime::currentDateTime());
        m_out << u"安全备份："_s << shown(copy) << '\n';
        return true;
    } catch (const ledger::BackupError& error) {
        fail(u"无法建立安全备份，没有改动账本："_s + error.message());
        return false;
    }
}

int Runner::run(const QString& command, const Words& words)
{
    if (words.file.isEmpty()) {
        m_err << command << u": 缺少文件名。"_s << '\n' << commandLineHelp();
        return CommandMisused;
    }
    if (!words.unknown.isEmpty()) {
        m_err << command << u": 无法理解“"_s << words.unknown << u"”。"_s << '\n';
        return CommandMisused;
    }
    ledger::LedgerLock lock(m_path);
    if (lock.acquire() == ledger::LedgerLock::Outcome::HeldElsewhere)
        return fail(u"账本正由运行中的窗口使用，请先关闭窗口再运行命令：\n"_s + shown(m_path));
    if (!openLedger(words))
        return CommandFailed;
    if (command == u"password"_s)
        return runPasswordCommand(*m_db, words.file, words.newPasswordFile, m_out, m_err);
    if (command == u"backup"_s)
        return backup(words);
    if (command == u"restore"_s)
        return restore(words);
    if (command == u"import"_s)
        return importStatement(words);
    if (command == u"export-ledger"_s)
        return exportLedger(words);
    return exportSummary(words);
}

int Runner::backup(const Words& words)
{
    try {
        ledger::backupLedger(*m_db, words.file);
    } catch (const ledger::BackupError& error) {
        return fail(error.message());
    }
    m_out << u"备份成功！"_s << ' ' << shown(words.file) << '\n';
    return CommandDone;
}

int Runner::restore(const Words& words)
{
    if (!words.flags.contains(u"--yes"_s)) {
        m_err << u"恢复将覆盖账本中的所有交易记录和股票代码表，确认请加 --yes。"_s << '\n';
        return CommandMisused;
    }
    try {
        const auto restore = openRestoreSource(*m_db, words.file);
        if (!safetyCopy())
            return CommandFailed;
        restore->finish();
        m_out << restore->progress().status << u"：交易记录 "_s << restore->tradeCount()
              << u" 条，股票代码 "_s << restore->stockCount() << u" 条。"_s << '\n';
    } catch (const ledger::BackupError& error) {
        return fail(error.message());
    } catch (const sql::Error& error) {
        return fail(u"恢复失败，账本没有任何改动（"_s + error.message() + u"）。"_s);
    }
    return CommandDone;
}

int Runner::importStatement(const Words& words)
{
    const exchange::StatementLayout* layout = exchange::findStatementLayout(words.broker);
    if (!layout) {
        m_err << u"import: 请用 --broker 指明对账单格式（sczq 或 cdzq）。"_s << '\n';
        return CommandMisused;
    }
    QFile file(words.file);
    if (!file.open(QIODevice::ReadOnly))
        return fail(u"无法读取对账单“"_s + shown(words.file) + u"”："_s + file.errorString());
    const exchange::ParsedStatement parsed = exchange::parseStatement(file.readAll(), *layout);
    for (const exchange::LineIssue& issue : parsed.refused)
        m_out << u"第 "_s << issue.line << u" 行未导入："_s << issue.reason << '\n';
    if (const auto refusal = exchange::nothingToImport(parsed, *layout))
        return fail(*refusal);

    ledger::StatementImportOptions options;
    options.replaceLedger = words.flags.contains(u"--replace"_s);
    try {
        const QList<int> duplicates =
            options.replaceLedger ? QList<int>() : ledger::duplicateLines(*m_db, parsed.trades);
        m_out << u"对账单中有 "_s << parsed.trades.size() << u" 笔交易"_s;
        if (!duplicates.isEmpty())
            m_out << u"，其中 "_s << duplicates.size() << u" 笔与账本中已有的交易相同，将跳过"_s;
        m_out << u"。"_s << '\n';
        if (!words.flags.contains(u"--yes"_s)) {
            m_err << u"没有导入：确认导入请加 --yes。"_s << '\n';
            return CommandMisused;
        }
        options.skipDuplicates = !duplicates.isEmpty();
        options.otherFee = ledger::loadSettings(*m_db).rates.buyOtherFee;
        if (!safetyCopy())
            return CommandFailed;
        const ledger::StatementImportOutcome outcome =
            ledger::applyStatement(*m_db, parsed.trades, options);
        if (!outcome.committed) {
            return fail(u"导入失败，账本没有任何改动：第 "_s +
                        QString::number(outcome.stoppedAtLine) + u" 行，"_s + outcome.error);
        }
        m_out << u"导入成功：交易 "_s << outcome.tradesWritten << u" 笔，新增股票 "_s
              << outcome.stocksAdded << u" 个。"_s << '\n';
    } catch (const sql::Error& error) {
        return fail(u"导入失败，账本没有任何改动（"_s + error.message() + u"）。"_s);
    }
    return CommandDone;
}

int Runner::exportLedger(const Words& words)
{
    try {
        writeCsv(words.file, ledgerTable(*m_db));
    } catch (const CsvExportError& error) {
        return fail(error.message());
    } catch (const sql::Error& error) {
        return fail(u"无法读取账本（"_s + error.message() + u"）。"_s);
    }
    m_out << u"账本已导出到 "_s << shown(words.file) << '\n';
    return CommandDone;
}

int Runner::exportSummary(const Words& words)
{
    try {
        writeCsv(words.file, summaryTable(*m_db));
    } catch (const CsvExportError& error) {
        return fail(error.message());
    } catch (const sql::Error& error) {
        return fail(u"无法汇总账本（"_s + error.message() + u"）。"_s);
    }
    m_out << u"汇总已导出到 "_s << shown(words.file) << '\n';
    return CommandDone;
}

} // namespace

bool wantsCommandLine(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return false;
    const QString& first = arguments.first();
    return subcommands.contains(first) || first == u"--help"_s || first == u"-h"_s ||
           first == u"help"_s;
}

QString commandLineHelp()
{
    return u"用法：corvanta [子命令 参数]\n"
           "不带子命令时打开程序窗口。子命令作用于窗口使用的同一个账本文件，\n"
           "账本在窗口中打开时拒绝运行。\n"
           "\n"
           "  backup FILE            把账本备份到 FILE（已有的文件被替换）\n"
           "  restore FILE --yes     用备份 FILE 中的交易记录和股票代码表替换账本中的\n"
           "                         （先在 backups 文件夹中留一份安全备份）\n"
           "  import FILE --broker sczq|cdzq [--replace] [--yes]\n"
           "                         导入券商对账单；不加 --yes 只报告将导入什么；\n"
           "                         账本中已有的相同交易被跳过；--replace 先清空账本\n"
           "  export-ledger FILE.csv 把账本导出为 CSV（UTF-8）\n"
           "  export-summary FILE.csv 把汇总（不取行情）导出为 CSV（UTF-8）\n"
           "  password set|change|remove [--new-password-file FILE]\n"
           "                         设置、更改或去掉账本密码；新密码从 FILE 读，\n"
           "                         或者在终端上输入两遍（密码没有提示，无法找回）\n"
           "  --password-file FILE   账本设有密码时从 FILE 读密码（FILE 只能由本人读写）；\n"
           "                         不加时在终端上询问\n"
           "  --help                 显示本说明\n"
           "\n"
           "退出码：0 成功，1 失败（附原因），2 用法错误或未确认。\n"_s;
}

int runCommandLine(const QStringList& arguments, const QString& ledgerPath, QTextStream& out,
                   QTextStream& err)
{
    if (!wantsCommandLine(arguments)) {
        err << u"未知的子命令："_s << arguments.value(0) << '\n' << commandLineHelp();
        return CommandMisused;
    }
    const QString& command = arguments.first();
    if (!subcommands.contains(command)) {
        out << commandLineHelp();
        return CommandDone;
    }
    Runner runner(ledgerPath, out, err);
    const int code = runner.run(command, readWords(arguments));
    out.flush();
    err.flush();
    return code;
}

} // namespace corvanta::app
