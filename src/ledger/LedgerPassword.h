#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// A personal password could not be set, changed or removed. message() is a
// complete sentence for the user; the ledger is then as it was, under its old key.
class PasswordChangeError : public std::runtime_error {
public:
    explicit PasswordChangeError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The ledger is encrypted with a password of the user's rather than the program's key.
bool hasPersonalPassword(const sql::Database& ledger);

// Why a new password cannot be taken ("" when it can): empty, the two entries
// differ, or it is the program's own key.
QString newPasswordRefusal(const QByteArray& password, const QByteArray& repeated);

// Re-encrypts the open ledger under `newPassword`, or under the program's key
// when it is empty, and reopens `ledger` on the result. The whole ledger is
// exported under the new key into a hidden file beside it, which is read back
// and checked, synced to the disk and then renamed over the ledger: a crash at
// any moment leaves the ledger whole under either the old key or the new one.
// Throws PasswordChangeError, or LedgerOpenError when the renamed file cannot be
// reopened.
void changeLedgerPassword(sql::Database& ledger, const QByteArray& newPassword);

// The texts the menu and the command line use.
namespace passwordTexts {
QString noRecovery();
QString askAtStart(const QString& ledgerPath);
QString askForBackup(const QString& backupPath);
QString set();
QString changed();
QString removed();
} // namespace passwordTexts

} // namespace corvanta::ledger
