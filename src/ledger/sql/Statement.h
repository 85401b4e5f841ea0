#pragma once

#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace corvanta::sql {

// One prepared statement with bound parameters. Parameters are numbered from 1,
// columns from 0, as in SQLite. Move-only; finalised on destruction.
class Statement {
public:
    Statement(sqlite3* db, const char* sql);
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

    // Advances to the next row; false when the statement has finished.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    qint64 int64(int column) const;
    double real(int column) const;
    std::optional<double> optionalReal(int column) const;

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

// Rolls back on destruction unless committed: a write happens whole or not at all.
class Transaction {
public:
    explicit Transaction(class Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    class Database& m_db;
    bool m_done = false;
};

} // namespace corvanta::sql
