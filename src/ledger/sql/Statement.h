#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace corvanta::sql {

class Database;

// One prepared statement with bound parameters. Parameters are numbered from 1,
// columns from 0, as in SQLite. Move-only; finalised on destruction. Made by
// Database::prepare, which refuses text holding more than one statement.
class Statement {
public:
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    Statement& bind(int index, const QString& value);
    Statement& bind(int index, const char16_t* value)
    {
        return bind(index, QString::fromUtf16(value));
    }
    Statement& bind(int index, qint64 value);
    Statement& bind(int index, int value) { return bind(index, qint64(value)); }
    Statement& bind(int index, double value);
    Statement& bindNull(int index);
    // Binds the bytes without copying them (a key): they must outlive the run.
    Statement& bindBytes(int index, const QByteArray& value);

    // Advances to the next row; false when the statement has finished.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    // The text's UTF-8 bytes, valid until the next step; a null view for NULL.
    QByteArrayView utf8(int column) const;
    // How the value is stored.
    enum class Storage { Integer, Real, Text, Blob, Null };
    Storage storage(int column) const;
    qint64 int64(int column) const;
    double real(int column) const;
    std::optional<double> optionalReal(int column) const;

private:
    friend class Database;
    Statement(sqlite3* db, const int* guards, const char* sql);

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    const int* m_guards = nullptr; // the connection's open transaction guards
};

// A write that happens whole or not at all: rolls back on destruction unless
// committed.
//
// Guards nest. The outermost guard on a connection begins the transaction
// (BEGIN IMMEDIATE) and its commit writes everything. A guard opened while a
// transaction is active is a savepoint inside it: its commit keeps its changes
// as part of the enclosing transaction (written only when the outermost guard
// commits), and its destruction without commit undoes its own changes and
// nothing else. The enclosing guard then goes on from the state before the inner
// guard began; it learns of the inner failure from the exception or the refusal
// that made the inner guard give up, never by committing work that is half done.
//
// When SQLite itself abandons the transaction (a full disk, an I/O error), every
// later statement, commit and nested guard on the connection throws until the
// guards are gone, so that nothing is written outside the transaction.
//
// Guards must end in the reverse order of their creation, as scopes do.
class Transaction {
public:
    explicit Transaction(Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();
    // This guard began the transaction (it is no savepoint).
    bool isOutermost() const { return m_outermost; }

private:
    QByteArray savepointSql(const char* verb) const;
    void close();

    Database& m_db;
    int m_level = 0; // this guard's depth, 1 for the first on the connection
    bool m_outermost = false;
    bool m_open = false;
};

} // namespace corvanta::sql
