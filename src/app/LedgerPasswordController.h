#pragma once

#include "ledger/LedgerFile.h"
#include "ledger/sql/Database.h"

#include <QObject>

#include <optional>

class QWidget;

namespace corvanta::windows {
class Prompter;
}

namespace corvanta::app {

// 设置 → 账本密码: sets, changes or removes the ledger's personal password. The
// ledger is re-encrypted in one step and the program goes on with it.
class LedgerPasswordController : public QObject {
    Q_OBJECT
public:
    LedgerPasswordController(sql::Database& db, windows::Prompter& prompter, QWidget* window);

    void editPassword();

private:
    void setPassword();
    void changeOrRemovePassword();
    void apply(const QByteArray& newPassword, const QString& done);

    sql::Database& m_db;
    windows::Prompter& m_prompter;
    QWidget* m_window;
};

// At start, for a ledger the program's key did not open (`refusal`): asks for its
// password in a small dialog until it opens the ledger. None when the user
// cancels or the ledger cannot be opened for another reason; `failure` then holds
// what to show.
std::optional<sql::Database> openWithStartPassword(const QString& path,
                                                   const ledger::LedgerOpenError& refusal,
                                                   QString& failure);

} // namespace corvanta::app
