#include "CommandLine.h"

#include "PasswordCommand.h"
#include "app/Version.h"
#include "commands/Command.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerLock.h"
#include "ledger/LedgerOwnFiles.h"
#include "ledger/SeedList.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <optional>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

using commands::CommandEntry;
using commands::shown;

const CommandEntry* findCommand(const QString& name)
{
    for (const CommandEntry& command : commands::commandTable()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

// A usage error: what was wrong, then the usage text.
int misused(QTextStream& err, const QString& text)
{
    err << text << '\n' << '\n' << commandLineHelp();
    return CommandMisused;
}

// Reads a command's words: its options and arguments, nothing else.
std::optional<int> parseWords(const CommandEntry& command, const QStringList& arguments,
                              QCommandLineParser& parser, QTextStream& out, QTextStream& err)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(command.options);
    parser.addOption(QCommandLineOption(QStringList{u"h"_s, u"help"_s}));
    // Any command may open a ledger that has a personal password.
    parser.addOption(QCommandLineOption(u"password-file"_s, u"密码文件"_s, u"FILE"_s));
    // The program's name first, as QCommandLineParser expects it.
    if (!parser.parse(QStringList{u"corvanta"_s} + arguments.mid(1))) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString name = unknown.first();
            return misused(err, command.name + u": 未知的选项 "_s +
                                    (name.size() == 1 ? u"-"_s : u"--"_s) + name + u"（"_s +
                                    parser.errorText() + u"）。"_s);
        }
        for (const QCommandLineOption& option : command.options) {
            const QString name = u"--"_s + option.names().constFirst();
            if (!option.valueName().isEmpty() && arguments.constLast() == name) {
                return misused(err, command.name + u": 选项 "_s + name + u" 后面缺少 "_s +
                                        option.valueName() + u"。"_s);
            }
        }
        return misused(err,
                       command.name + u": 无法理解这些参数（"_s + parser.errorText() + u"）。"_s);
    }
    if (parser.isSet(u"help"_s)) {
        out << commandLineHelp();
        return CommandDone;
    }
    const QStringList given = parser.positionalArguments();
    if (given.size() < command.arguments.size())
        return misused(err, command.name + u": 缺少"_s +
                                (command.arguments[given.size()].startsWith(u"FILE"_s)
                                     ? u"文件名"_s
                                     : command.arguments[given.size()]) +
                                u"。"_s);
    if (given.size() > command.arguments.size())
        return misused(err, command.name + u": 无法理解“"_s + given[command.arguments.size()] +
                                u"”。"_s);
    return std::nullopt;
}

int runCommand(const CommandEntry& command, const QStringList& arguments, const QString& ledgerPath,
               QTextStream& out, QTextStream& err)
{
    QCommandLineParser words;
    if (const std::optional<int> code = parseWords(command, arguments, words, out, err))
        return *code;
    if (command.writesFirstArgument) {
        const QString target = words.positionalArguments().first();
        if (const QString reason = ledger::ledgerOwnFileReason(ledgerPath, target);
            !reason.isEmpty()) {
            err << u"无法写入“"_s << shown(target) << u"”："_s << reason
                << u"。账本没有任何改动。"_s << '\n';
            return CommandFailed;
        }
    }
    ledger::LedgerLock lock(ledgerPath, ledger::LedgerLock::Holder::Command, command.name);
    if (const auto outcome = lock.acquire();
        outcome == ledger::LedgerLock::Outcome::HeldElsewhere) {
        err << lock.message(outcome) << '\n';
        return CommandFailed;
    }
    // A lock file that cannot be written leaves the refusal to the opening.
    std::optional<sql::Database> db;
    try {
        db.emplace(ledger::openLedger(ledgerPath, ledger::loadSeedList()));
    } catch (const ledger::LedgerOpenError& error) {
        if (!error.mayHavePassword()) {
            err << error.message() << '\n';
            return CommandFailed;
        }
        db = openWithPassword(ledgerPath, words.value(u"password-file"_s), error, err);
        if (!db)
            return CommandFailed;
    } catch (const sql::Error& error) {
        err << u"无法打开账本“"_s << shown(ledgerPath) << u"”："_s << commands::inWords(error)
            << u"。"_s << '\n';
        return CommandFailed;
    }
    commands::CommandRun run(*db, ledgerPath, words, out, err);
    return command.run(run);
}

// A help entry: the call indented by two, its lines from column `width` on (below
// the call when it is longer).
QString entry(const QString& call, const QStringList& lines, qsizetype width)
{
    const QString head = u"  "_s + call;
    const QString indent(width, u' ');
    return (head.size() < width ? head.leftJustified(width) : head + u'\n' + indent) +
           lines.join(u'\n' + indent) + u'\n';
}

} // namespace

bool wantsCommandLine(const QStringList& arguments)
{
    return !arguments.isEmpty();
}

QString commandLineHelp()
{
    constexpr qsizetype width = 25;
    QString text = u"用法：corvanta [子命令 参数]\n"
                   "不带子命令时打开程序窗口。子命令作用于窗口使用的同一个账本文件，\n"
                   "账本在窗口中打开或正由另一个命令使用时拒绝运行。\n"
                   "\n"_s;
    for (const CommandEntry& command : commands::commandTable())
        text += entry(command.synopsis, command.help, width);
    text += entry(u"--password-file FILE"_s,
                  {u"账本设有密码时从 FILE 读密码（FILE 只能由本人读写）；"_s,
                   u"不加时在终端上询问（任何命令都可加）"_s},
                  width);
    text += entry(u"--help"_s, {u"显示本说明"_s}, width);
    text += entry(u"--version"_s, {u"显示版本"_s}, width);
    text += u"\n写入文件的子命令不会写到账本、它的日志和锁定文件以及 backups 文件夹中。\n"
            "退出码：0 成功，1 失败（附原因），2 用法错误或未确认。\n"_s;
    return text;
}

int runCommandLine(const QStringList& arguments, const QString& ledgerPath, QTextStream& out,
                   QTextStream& err)
{
    int code = CommandMisused;
    const QString first = arguments.value(0);
    if (first == u"--help"_s || first == u"-h"_s || first == u"help"_s) {
        out << commandLineHelp();
        code = CommandDone;
    } else if (first == u"--version"_s || first == u"-v"_s) {
        out << u"corvanta "_s << QStringLiteral(CORVANTA_VERSION) << '\n';
        code = CommandDone;
    } else if (const CommandEntry* command = findCommand(first)) {
        code = runCommand(*command, arguments, ledgerPath, out, err);
    } else if (first.startsWith(u'-')) {
        code = misused(err, u"未知的选项："_s + first);
    } else {
        code = misused(err, u"未知的子命令："_s + first);
    }
    out.flush();
    err.flush();
    return code;
}

} // namespace corvanta::app
