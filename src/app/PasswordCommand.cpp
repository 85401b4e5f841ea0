#include "PasswordCommand.h"

#include "CommandLine.h"
#include "PasswordInput.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerPassword.h"
#include "ledger/SeedList.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

// Zeroes a password's bytes when it goes out of scope.
struct Cleared {
    QByteArray bytes;
    ~Cleared() { bytes.fill('\0'); }
};

// The new password from its file, or twice from the terminal; none after
// writing why to `err`, with the exit code in `code`.
std::optional<Cleared> newPassword(const QString& file, QTextStream& err, int& code)
{
    code = CommandFailed;
    if (!file.isEmpty()) {
        PasswordFile read = readPasswordFile(file);
        if (!read.refusal.isEmpty()) {
            err << read.refusal << '\n';
            return std::nullopt;
        }
        return Cleared{read.password};
    }
    err << ledger::passwordTexts::noRecovery() << '\n';
    err.flush();
    auto first = askOnTerminal(u"新密码："_s);
    if (!first) {
        err << u"请用 --new-password-file 指明新密码文件，或者在终端上运行以输入新密码。"_s << '\n';
        code = CommandMisused;
        return std::nullopt;
    }
    Cleared password{*first};
    first->fill('\0');
    Cleared repeated{askOnTerminal(u"再输入一遍："_s).value_or(QByteArray())};
    const QString refusal = ledger::newPasswordRefusal(password.bytes, repeated.bytes);
    if (!refusal.isEmpty()) {
        err << refusal << '\n';
        return std::nullopt;
    }
    return password;
}

} // namespace

std::optional<sql::Database> openWithPassword(const QString& path, const QString& passwordFile,
                                              const ledger::LedgerOpenError& refusal,
                                              QTextStream& err)
{
    Cleared password;
    if (!passwordFile.isEmpty()) {
        PasswordFile read = readPasswordFile(passwordFile);
        if (!read.refusal.isEmpty()) {
            err << read.refusal << '\n';
            return std::nullopt;
        }
        password.bytes = read.password;
        read.password.fill('\0');
    } else if (auto typed = askOnTerminal(ledger::passwordTexts::askAtStart(path))) {
        password.bytes = *typed;
        typed->fill('\0');
    } else {
        // No way to ask: the file may also be no ledger at all.
        err << refusal.message() << '\n'
            << u"如果账本设有密码，请用 --password-file 指明密码文件，或者在终端上运行以输入密码。"_s
            << '\n';
        return std::nullopt;
    }
    try {
        return ledger::openLedger(path, ledger::loadSeedList(), password.bytes);
    } catch (const ledger::LedgerOpenError& error) {
        err << error.message() << '\n';
    }
    return std::nullopt;
}

int runPasswordCommand(sql::Database& ledger, const QString& action, const QString& newPasswordFile,
                       QTextStream& out, QTextStream& err)
{
    const bool has = ledger::hasPersonalPassword(ledger);
    if (action != u"set"_s && action != u"change"_s && action != u"remove"_s) {
        err << u"password: 请用 set、change 或 remove。"_s << '\n';
        return CommandMisused;
    }
    if (action == u"set"_s && has) {
        err << u"账本已经设有密码；要更改请用 password change。"_s << '\n';
        return CommandFailed;
    }
    if (action != u"set"_s && !has) {
        err << u"账本没有设密码。"_s << '\n';
        return CommandFailed;
    }
    try {
        if (action == u"remove"_s) {
            ledger::changeLedgerPassword(ledger, {});
            out << ledger::passwordTexts::removed() << '\n';
            return CommandDone;
        }
        int code = CommandFailed;
        const std::optional<Cleared> password = newPassword(newPasswordFile, err, code);
        if (!password)
            return code;
        const QString refusal = ledger::newPasswordRefusal(password->bytes, password->bytes);
        if (!refusal.isEmpty()) {
            err << refusal << '\n';
            return CommandFailed;
        }
        ledger::changeLedgerPassword(ledger, password->bytes);
        out << (action == u"set"_s ? ledger::passwordTexts::set()
                                   : ledger::passwordTexts::changed())
            << '\n';
    } catch (const ledger::PasswordChangeError& error) {
        err << error.message() << '\n';
        return CommandFailed;
    } catch (const ledger::LedgerOpenError& error) {
        err << error.message() << '\n';
        return CommandFailed;
    }
    return CommandDone;
}

} // namespace corvanta::app
