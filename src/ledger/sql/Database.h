#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <stdexcept>

struct sqlite3;

namespace corvanta::sql {

// A failed database call, carrying SQLite's result code, its message and what
// kind of failure it is, so that callers need not know SQLite's codes.
class Error : public std::runtime_error {
public:
    enum class Kind {
        Corrupt,      // the file is damaged
        NotADatabase, // not a database, or the key does not open it
        ReadOnly,     // the file or the connection may not be written
        Busy,         // another connection holds a lock
        Full,         // the disk or the database is full
        Other,        // anything else: bad SQL, a constraint, an I/O failure
    };

    Error(int code, const QString& message);
    // `systemError` is the errno behind an I/O failure: a write refused for want
    // of room (ENOSPC, EDQUOT, EFBIG) is a full disk, whatever code SQLite gave.
    Error(int code, const QString& message, int systemError);
    int code() const { return m_code; }
    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }
    // The file is not a database or the key does not open it.
    bool isNotADatabase() const { return m_kind == Kind::NotADatabase; }

private:
    int m_code;
    Kind m_kind;
};

class Statement;

// One open SQLite (SQLCipher) connection. Move-only; closes on destruction.
class Database {
public:
    enum class Mode { ReadWrite, ReadWriteCreate, ReadOnly };

    // Opens a file; with a non-empty key the file is encrypted with it. The key
    // is checked at once, so a wrong key throws here rather than at first use.
    static Database open(const QString& path, const QByteArray& key, Mode mode);
    static Database openInMemory();

    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // Runs fixed SQL without parameters (schema statements, PRAGMAs); the text may
    // hold several statements. Never give it text that holds user input.
    void exec(const char* sql);
    // One statement; text holding a second statement is refused.
    Statement prepare(const char* sql);
    // Shorthand for a single-value query; returns the first column of the first row.
    qint64 scalarInt(const char* sql);

    qint64 lastInsertId() const;
    int changes() const;
    bool inTransaction() const;
    // The main database may not be written (read-only file or connection).
    bool isReadOnly() const;
    QString path() const { return m_path; }
    sqlite3* handle() const { return m_db; }
    // Opened with a key: its pages are encrypted and keep room for the cipher.
    bool isEncrypted() const { return m_encrypted; }
    // The key the file was opened with, for copies that must be keyed alike. It is
    // overwritten with zeros when the connection closes.
    const QByteArray& key() const { return m_key; }

private:
    friend class Transaction;
    explicit Database(sqlite3* db, QString path);
    void close();
    // Transaction control, exempt from the lost-transaction check.
    void execControl(const char* sql);
    // Throws when a transaction guard is open but SQLite ended the transaction
    // itself (a full disk, an I/O error): nothing may then run outside it.
    void requireOpenTransaction() const;

    sqlite3* m_db = nullptr;
    QString m_path;
    bool m_encrypted = false;
    QByteArray m_key;
    // Transaction guards open on the connection. On the heap so that statements
    // and guards keep a valid pointer when the Database is moved.
    std::unique_ptr<int> m_guards = std::make_unique<int>(0);
};

} // namespace corvanta::sql
