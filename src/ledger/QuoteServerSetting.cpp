#include "QuoteServerSetting.h"

#include "sql/Database.h"
#include "sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

const QString quoteServerKey = u"hqdz"_s;

} // namespace

std::optional<QString> loadQuoteServer(sql::Database& db)
{
    auto query = db.prepare("SELECT gpmc FROM gpmc WHERE gpid = ?1 ORDER BY id LIMIT 1");
    query.bind(1, quoteServerKey);
    if (!query.step())
        return std::nullopt;
    return query.text(0);
}

void saveQuoteServer(sql::Database& db, const QString& address)
{
    sql::Transaction transaction(db);
    auto update = db.prepare("UPDATE gpmc SET gpmc = ?2 WHERE gpid = ?1");
    update.bind(1, quoteServerKey).bind(2, address);
    update.run();
    if (db.changes() == 0) {
        auto insert = db.prepare("INSERT INTO gpmc (gpid, gpmc, gppy) VALUES (?1, ?2, NULL)");
        insert.bind(1, quoteServerKey).bind(2, address);
        insert.run();
    }
    transaction.commit();
}

} // namespace corvanta::ledger
