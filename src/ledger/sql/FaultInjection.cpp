#include "FaultInjection.h"

#include "Database.h"

#include <sqlite3.h>

#include <cstring>

namespace corvanta::sql {

namespace {

int sqliteAction(RefusalGuard::Action action)
{
    switch (action) {
    case RefusalGuard::Action::CreateTable:
        return SQLITE_CREATE_TABLE;
    case RefusalGuard::Action::Insert:
        return SQLITE_INSERT;
    case RefusalGuard::Action::Update:
        return SQLITE_UPDATE;
    case RefusalGuard::Action::Delete:
        return SQLITE_DELETE;
    }
    return SQLITE_CREATE_TABLE;
}

} // namespace

RefusalGuard::RefusalGuard(Database& db, Action action, const QString& table)
    : m_db(db), m_action(sqliteAction(action)), m_table(table.toUtf8())
{
    sqlite3_set_authorizer(m_db.handle(), &RefusalGuard::decide, this);
}

RefusalGuard::~RefusalGuard()
{
    sqlite3_set_authorizer(m_db.handle(), nullptr, nullptr);
}

int RefusalGuard::decide(void* self, int action, const char* first, const char*, const char*,
                         const char*)
{
    const auto* guard = static_cast<const RefusalGuard*>(self);
    const bool refused =
        action == guard->m_action && first && std::strcmp(first, guard->m_table.constData()) == 0;
    return refused ? SQLITE_DENY : SQLITE_OK;
}

} // namespace corvanta::sql
