#include "Database.h"

#include "Statement.h"

#include <QCollator>
#include <QLocale>

#include <sqlite3.h>

#include <cerrno>
#include <utility>

namespace corvanta::sql {

namespace {

QString describe(sqlite3* db, int code)
{
    if (db)
        return QString::fromUtf8(sqlite3_errmsg(db));
    return QString::fromUtf8(sqlite3_errstr(code));
}

Error::Kind kindOf(int code)
{
    switch (code & 0xff) {
    case SQLITE_CORRUPT:
        return Error::Kind::Corrupt;
    case SQLITE_NOTADB:
        return Error::Kind::NotADatabase;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Error::Kind::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Error::Kind::Busy;
    case SQLITE_FULL:
        return Error::Kind::Full;
    default:
        return Error::Kind::Other;
    }
}

// The collation "PINYIN": Chinese names in pinyin order (保利, 深振业, 唐钢, 招商), as
// ICU's zh collation gives it through QCollator; texts are UTF-8 as SQLite holds them.
int comparePinyin(void* collator, int leftSize, const void* left, int rightSize, const void* right)
{
    return static_cast<const QCollator*>(collator)->compare(
        QString::fromUtf8(static_cast<const char*>(left), leftSize),
        QString::fromUtf8(static_cast<const char*>(right), rightSize));
}

void addPinyinCollation(sqlite3* db)
{
    auto* collator = new QCollator(QLocale(QLocale::Chinese, QLocale::China));
    sqlite3_create_collation_v2(db, "PINYIN", SQLITE_UTF8, collator, comparePinyin,
                                [](void* c) { delete static_cast<QCollator*>(c); });
}

} // namespace

Error::Error(int code, const QString& message)
    : std::runtime_error(message.toStdString()), m_code(code), m_kind(kindOf(code))
{
}

Error::Error(int code, const QString& message, int systemError) : Error(code, message)
{
    const bool noRoom = systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG;
    if ((code & 0xff) == SQLITE_IOERR && noRoom)
        m_kind = Kind::Full;
}

Database::Database(sqlite3* db, QString path) : m_db(db), m_path(std::move(path)) {}

Database Database::open(const QString& path, const QByteArray& key, Mode mode)
{
    // Each connection is used by the one thread that opened it (jobs run on the UI
    // thread), so SQLite need not lock it on every call: a full scan makes
    // millions of them.
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::ReadWriteCreate:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    Database db(raw, path);
    if (rc != SQLITE_OK)
        throw Error(rc, describe(raw, rc));
    if (!key.isEmpty()) {
        const int keyed = sqlite3_key(raw, key.constData(), int(key.size()));
        if (keyed != SQLITE_OK)
            throw Error(keyed, describe(raw, keyed));
        db.m_encrypted = true;
        db.m_key = key;
        // Its own bytes, so that clearing them leaves the caller's alone.
        db.m_key.detach();
    }
    sqlite3_extended_result_codes(raw, 1);
    addPinyinCollation(raw);
    // Another connection's commit (a backup, a second window) is waited for briefly
    // rather than failing the user's change.
    sqlite3_busy_timeout(raw, 2000);
    // The key is only tried by the first statement that reads the file.
    db.exec("SELECT count(*) FROM sqlite_master");
    return db;
}

Database Database::openInMemory()
{
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Database db(raw, QStringLiteral(":memory:"));
    if (rc != SQLITE_OK)
        throw Error(rc, describe(raw, rc));
    sqlite3_extended_result_codes(raw, 1);
    addPinyinCollation(raw);
    return db;
}

Database::Database(Database&& other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_path(std::move(other.m_path)),
      m_encrypted(other.m_encrypted), m_key(std::exchange(other.m_key, {})),
      m_guards(std::move(other.m_guards))
{
}

Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
        m_path = std::move(other.m_path);
        m_encrypted = other.m_encrypted;
        m_key = std::exchange(other.m_key, {});
        m_guards = std::move(other.m_guards);
    }
    return *this;
}

Database::~Database()
{
    close();
}

void Database::close()
{
    if (m_db)
        sqlite3_close_v2(std::exchange(m_db, nullptr));
    // A personal password must not linger in freed memory.
    m_key.fill('\0');
    m_key.clear();
}

void Database::exec(const char* sql)
{
    requireOpenTransaction();
    execControl(sql);
}

void Database::execControl(const char* sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text =
            message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(message);
        throw Error(rc, text, sqlite3_system_errno(m_db));
    }
}

void Database::requireOpenTransaction() const
{
    if (m_guards && *m_guards > 0 && sqlite3_get_autocommit(m_db))
        throw Error(SQLITE_ABORT,
                    QStringLiteral("the transaction was rolled back by the database"));
}

Statement Database::prepare(const char* sql)
{
    return Statement(m_db, m_guards.get(), sql);
}

qint64 Database::scalarInt(const char* sql)
{
    Statement query = prepare(sql);
    return query.step() ? query.int64(0) : 0;
}

qint64 Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes() const
{
    return sqlite3_changes(m_db);
}

bool Database::inTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

bool Database::isReadOnly() const
{
    return sqlite3_db_readonly(m_db, "main") == 1;
}

} // namespace corvanta::sql
