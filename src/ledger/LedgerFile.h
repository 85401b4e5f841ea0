#pragma once

#include "Schema.h"
#include "sql/Database.h"

#include <QList>
#include <QString>

#include <stdexcept>

namespace corvanta::ledger {

// The ledger file's name and the key it is encrypted with.
inline constexpr char16_t ledgerFileName[] = u"gpmc.mdb";
inline constexpr char ledgerKey[] = "MiLor_427";

// The ledger file could not be opened or prepared. message() is a complete
// sentence for the user naming the file and the reason; the file is left as it was.
class LedgerOpenError : public std::runtime_error {
public:
    enum class Reason {
        NotALedger,     // not a database, another key, damaged, or foreign tables
        EmptyFile,      // zero bytes long
        ReadOnly,       // the file may not be written
        FolderReadOnly, // the folder may not be written (no journal, no new file)
        CannotCreate,   // a new file could not be made and seeded
        Failed,         // any other failure of the database engine
        WrongPassword,  // the personal password given does not open the file
    };

    LedgerOpenError(Reason reason, const QString& message, bool mayHavePassword = false);
    Reason reason() const { return m_reason; }
    QString message() const { return m_message; }
    // The program's key did not open a file that looks encrypted: it may be a
    // ledger with a personal password (or a file with some other key).
    bool mayHavePassword() const { return m_mayHavePassword; }

private:
    Reason m_reason;
    QString m_message;
    bool m_mayHavePassword = false;
};

// The data folder an installed program ships beside its bin/ folder
// (`<prefix>/share/corvanta`), or an empty string for a program that is not
// installed (a build tree, a copied folder).
QString installedDataFolder(const QString& programDir);

// The folder with the program's own files, such as its usage notes: the installed
// data folder, or the program's own folder when it is not installed.
QString programDataFolder(const QString& programDir);

// The folder that holds the ledger. An installed program always keeps it in
// `appDataDir`, even when its install folder is writable (root, a user prefix).
// Otherwise the program's own folder when it is writable or already holds a
// ledger file, else `appDataDir`. `appDataDir` is created when it is chosen.
QString ledgerFolder(const QString& programDir, const QString& appDataDir);

// The ledger file inside that folder.
QString ledgerPath(const QString& folder);

// How opening an existing file makes sure of its pages.
enum class PageCheck {
    AtOpen, // every page is read before the file is used
    // Only the pages opening needs are read; the caller runs checkLedgerPages()
    // soon after (the window, once it shows: a large ledger's full read is slow).
    Later,
};

// Opens the ledger file, creating it when there is none, and creates and seeds
// whichever of its tables is missing (one transaction). An existing file that
// cannot be opened, read or written, or whose tables lack the ledger's columns,
// is never changed or re-created: that throws LedgerOpenError. A new file whose
// seeding fails is removed again, so the next start begins afresh.
sql::Database openLedger(const QString& path, const QList<SeedStock>& seedList);
// The same, reading the stock list only when the stock table is to be created (a
// new file, a lost table), so an existing ledger opens without parsing it.
sql::Database openLedgerSeededBy(const QString& path, const SeedListSource& seedList,
                                 PageCheck check = PageCheck::AtOpen);

// Reads every page of an open ledger. A damaged page throws LedgerOpenError with
// the reason opening gives for it.
void checkLedgerPages(sql::Database& db, const QString& path);

// Opens an existing ledger that has a personal password, as above; a password
// that does not open it throws LedgerOpenError with Reason::WrongPassword and
// leaves the file byte for byte as it was.
sql::Database openLedger(const QString& path, const QList<SeedStock>& seedList,
                         const QByteArray& password);

// A file the program's key does not open may still be a ledger with a personal
// password. SQLCipher files are whole pages of what looks like random bytes, so a
// plain database, a text file or a file cut short is told apart at once; a file
// with some other key cannot be.
bool looksEncrypted(const QString& path);

// The sentence for a wrong password, without the file's name.
QString wrongPasswordText();

} // namespace corvanta::ledger
