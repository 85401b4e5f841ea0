#include "LedgerPasswordController.h"

#include "ledger/LedgerPassword.h"
#include "ledger/SeedList.h"
#include "windows/PasswordDialog.h"
#include "windows/Prompter.h"

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

const QString caption = u"账本密码"_s;

QString askAgain(const QString& problem)
{
    return problem + u"请重新输入。"_s;
}

} // namespace

LedgerPasswordController::LedgerPasswordController(sql::Database& db, windows::Prompter& prompter,
                                                   QWidget* window)
    : QObject(window), m_db(db), m_prompter(prompter), m_window(window)
{
}

void LedgerPasswordController::editPassword()
{
    if (ledger::hasPersonalPassword(m_db))
        changeOrRemovePassword();
    else
        setPassword();
}

void LedgerPasswordController::setPassword()
{
    windows::PasswordDialog dialog(caption,
                                   u"为账本设置一个个人密码，以后启动程序时要先输入它。\n"_s +
                                       ledger::passwordTexts::noRecovery(),
                                   {u"新密码："_s, u"再输入一遍："_s}, m_window);
    QByteArray chosen;
    const auto taken =
        windows::askUntilTaken(dialog, 2, [&](const windows::Passwords& entered) -> QString {
            const QString refusal =
                ledger::newPasswordRefusal(entered.entries[0], entered.entries[1]);
            if (refusal.isEmpty())
                chosen = entered.entries[0];
            return refusal;
        });
    if (taken)
        apply(chosen, ledger::passwordTexts::set());
    chosen.fill('\0');
}

void LedgerPasswordController::changeOrRemovePassword()
{
    windows::PasswordDialog dialog(
        caption,
        u"更改密码：输入当前密码和两遍新密码。去掉密码：只输入当前密码，按“去掉密码”，"
        "账本改用程序自带的密钥加密。\n"_s +
            ledger::passwordTexts::noRecovery(),
        {u"当前密码："_s, u"新密码："_s, u"再输入一遍："_s}, m_window);
    dialog.addAlternative(u"去掉密码"_s);
    QByteArray chosen;
    bool remove = false;
    const auto taken =
        windows::askUntilTaken(dialog, 3, [&](const windows::Passwords& entered) -> QString {
            if (entered.entries[0] != m_db.key())
                return askAgain(u"当前密码不对。"_s);
            remove = entered.alternative;
            if (remove)
                return QString();
            const QString refusal =
                ledger::newPasswordRefusal(entered.entries[1], entered.entries[2]);
            if (refusal.isEmpty())
                chosen = entered.entries[1];
            return refusal;
        });
    if (taken)
        apply(remove ? QByteArray() : chosen,
              remove ? ledger::passwordTexts::removed() : ledger::passwordTexts::changed());
    chosen.fill('\0');
}

void LedgerPasswordController::apply(const QByteArray& newPassword, const QString& done)
{
    try {
        ledger::changeLedgerPassword(m_db, newPassword);
        m_prompter.inform(done);
    } catch (const ledger::PasswordChangeError& error) {
        m_prompter.inform(error.message());
    } catch (const ledger::LedgerOpenError& error) {
        m_prompter.inform(error.message());
    } catch (const std::exception& error) {
        m_prompter.inform(u"账本密码没有改动（"_s + QString::fromUtf8(error.what()) + u"）。"_s);
    }
}

std::optional<sql::Database>
openWithStartPassword(const QString& path, const ledger::LedgerOpenError& refusal, QString& failure)
{
    windows::PasswordDialog dialog(windows::applicationTitle(),
                                   ledger::passwordTexts::askAtStart(path), {u"密码："_s});
    std::optional<sql::Database> db;
    failure = refusal.message();
    windows::askUntilTaken(dialog, 1, [&](const windows::Passwords& entered) -> QString {
        try {
            db.emplace(ledger::openLedger(path, ledger::loadSeedList(), entered.entries[0]));
        } catch (const ledger::LedgerOpenError& error) {
            if (error.reason() == ledger::LedgerOpenError::Reason::WrongPassword)
                return askAgain(ledger::wrongPasswordText());
            failure = error.message();
        } catch (const std::exception& error) {
            failure = u"程序无法启动：\n"_s + QString::fromUtf8(error.what());
        }
        return QString();
    });
    return db;
}

} // namespace corvanta::app
