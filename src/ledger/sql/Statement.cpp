#include "Statement.h"

#include "Database.h"

#include <sqlite3.h>

#include <utility>

namespace corvanta::sql {

namespace {

[[noreturn]] void fail(sqlite3* db, int code)
{
    throw Error(code, QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_system_errno(db));
}

// True when `tail` holds nothing but blanks, semicolons and comments.
bool isEmptyTail(sqlite3* db, const char* tail)
{
    while (*tail != '\0') {
        sqlite3_stmt* next = nullptr;
        const char* rest = nullptr;
        const int rc = sqlite3_prepare_v2(db, tail, -1, &next, &rest);
        sqlite3_finalize(next);
        if (rc != SQLITE_OK || next != nullptr)
            return false;
        if (rest == tail)
            return true;
        tail = rest;
    }
    return true;
}

} // namespace

Statement::Statement(sqlite3* db, const int* guards, const char* sql) : m_db(db), m_guards(guards)
{
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, &tail);
    if (rc != SQLITE_OK)
        fail(db, rc);
    // Text is run exactly as one statement: anything after it would otherwise be
    // dropped without a word.
    if (m_stmt == nullptr)
        throw Error(SQLITE_MISUSE, QStringLiteral("no SQL statement in the text"));
    if (!isEmptyTail(db, tail)) {
        sqlite3_finalize(std::exchange(m_stmt, nullptr));
        throw Error(SQLITE_MISUSE, QStringLiteral("more than one SQL statement in the text: ") +
                                       QString::fromUtf8(tail).trimmed());
    }
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db), m_stmt(std::exchange(other.m_stmt, nullptr)), m_guards(other.m_guards)
{
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_guards = other.m_guards;
    }
    return *this;
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement& Statement::bind(int index, const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    // A null QString binds an empty text, like an empty one; bindNull binds NULL.
    const int rc =
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

Statement& Statement::bindBytes(int index, const QByteArray& value)
{
    const int rc =
        sqlite3_bind_blob(m_stmt, index, value.constData(), int(value.size()), SQLITE_STATIC);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

Statement& Statement::bind(int index, qint64 value)
{
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

Statement& Statement::bind(int index, double value)
{
    const int rc = sqlite3_bind_double(m_stmt, index, value);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

Statement& Statement::bindNull(int index)
{
    const int rc = sqlite3_bind_null(m_stmt, index);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
    return *this;
}

bool Statement::step()
{
    if (m_guards && *m_guards > 0 && sqlite3_get_autocommit(m_db))
        throw Error(SQLITE_ABORT,
                    QStringLiteral("the transaction was rolled back by the database"));
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(m_db, rc);
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column)) : QString();
}

QByteArrayView Statement::utf8(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}

Statement::Storage Statement::storage(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return Storage::Integer;
    case SQLITE_FLOAT:
        return Storage::Real;
    case SQLITE_TEXT:
        return Storage::Text;
    case SQLITE_BLOB:
        return Storage::Blob;
    }
    return Storage::Null;
}

qint64 Statement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double Statement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

std::optional<double> Statement::optionalReal(int column) const
{
    if (isNull(column))
        return std::nullopt;
    return real(column);
}

Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.requireOpenTransaction();
    m_outermost = !m_db.inTransaction();
    m_level = *m_db.m_guards + 1;
    const QByteArray begin =
        m_outermost ? QByteArray("BEGIN IMMEDIATE") : savepointSql("SAVEPOINT");
    m_db.execControl(begin.constData());
    ++*m_db.m_guards;
    m_open = true;
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    try {
        if (m_outermost) {
            m_db.execControl("ROLLBACK");
        } else {
            m_db.execControl(savepointSql("ROLLBACK TO").constData());
            m_db.execControl(savepointSql("RELEASE").constData());
        }
    } catch (const Error&) {
        // SQLite already rolled the transaction back (a failed COMMIT, a full disk).
    }
    close();
}

void Transaction::commit()
{
    if (!m_open)
        throw Error(SQLITE_MISUSE, QStringLiteral("the transaction has already ended"));
    m_db.requireOpenTransaction();
    const QByteArray end = m_outermost ? QByteArray("COMMIT") : savepointSql("RELEASE");
    m_db.execControl(end.constData());
    close();
}

QByteArray Transaction::savepointSql(const char* verb) const
{
    return QByteArray(verb) + " nested_" + QByteArray::number(m_level);
}

void Transaction::close()
{
    m_open = false;
    --*m_db.m_guards;
}

} // namespace corvanta::sql
