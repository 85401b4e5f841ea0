#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

struct sqlite3;

namespace corvanta::sql {

// A failed database call, carrying SQLite's result code and message.
class Error : public std::runtime_error {
public:
    Error(int code, const QString& message);
    int code() const { return m_code; }
    QString message() const { return QString::fromUtf8(what()); }
    // The file is not a database or the key does not open it.
    bool isNotADatabase() const;

private:
    int m_code;
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

    // Runs fixed SQL without parameters (schema statements, PRAGMAs).
    void exec(const char* sql);
    Statement prepare(const char* sql);
    // Shorthand for a single-value query; returns the first column of the first row.
    qint64 scalarInt(const char* sql);

    qint64 lastInsertId() const;
    int changes() const;
    bool inTransaction() const;
    QString path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

private:
    explicit Database(sqlite3* db, QString path);
    sqlite3* m_db = nullptr;
    QString m_path;
};

} // namespace corvanta::sql
