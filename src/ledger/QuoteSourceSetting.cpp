#include "QuoteSourceSetting.h"

#include "sql/Database.h"
#include "sql/Statement.h"

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

QString keyOf(QuoteSourceRow row)
{
    switch (row) {
    case QuoteSourceRow::Choice:
        return u"hqly"_s;
    case QuoteSourceRow::SinaHost:
        return u"xlzj"_s;
    case QuoteSourceRow::TencentHost:
        return u"txzj"_s;
    }
    return {};
}

} // namespace

std::optional<QString> loadQuoteSourceRow(sql::Database& db, QuoteSourceRow row)
{
    auto query = db.prepare("SELECT gpmc FROM gpmc WHERE gpid = ?1 ORDER BY id LIMIT 1");
    query.bind(1, keyOf(row));
    if (!query.step())
        return std::nullopt;
    return query.text(0);
}

void saveQuoteSourceRow(sql::Database& db, QuoteSourceRow row, const QString& value)
{
    const QString key = keyOf(row);
    sql::Transaction transaction(db);
    auto update = db.prepare("UPDATE gpmc SET gpmc = ?2 WHERE gpid = ?1");
    update.bind(1, key).bind(2, value);
    update.run();
    if (db.changes() == 0) {
        auto insert = db.prepare("INSERT INTO gpmc (gpid, gpmc, gppy) VALUES (?1, ?2, NULL)");
        insert.bind(1, key).bind(2, value);
        insert.run();
    }
    transaction.commit();
}

} // namespace corvanta::ledger
