#pragma once

#include <QByteArray>
#include <QString>

namespace corvanta::sql {

class Database;

// Makes the connection refuse one kind of statement on one table while the guard
// lives, as a full disk or a lock would: tests use it to break an operation
// part-way and check that nothing of it remains.
class RefusalGuard {
public:
    enum class Action { CreateTable, Insert, Update, Delete };

    RefusalGuard(Database& db, Action action, const QString& table);
    RefusalGuard(const RefusalGuard&) = delete;
    RefusalGuard& operator=(const RefusalGuard&) = delete;
    ~RefusalGuard();

private:
    Database& m_db;
    int m_action;
    QByteArray m_table;

    static int decide(void* self, int action, const char* first, const char*, const char*,
                      const char*);
};

} // namespace corvanta::sql
