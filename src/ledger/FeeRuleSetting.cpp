#include "FeeRuleSetting.h"

#include "calc/Numbers.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

const QString choiceKey = u"fygz"_s;
const QString minimumKey = u"yjzd"_s;

std::optional<QString> firstValue(sql::Database& db, const QString& key)
{
    auto query = db.prepare("SELECT gpmc FROM gpmc WHERE gpid = ?1 ORDER BY id LIMIT 1");
    query.bind(1, key);
    if (!query.step())
        return std::nullopt;
    return query.text(0);
}

void store(sql::Database& db, const QString& key, const QString& value)
{
    auto update = db.prepare("UPDATE gpmc SET gpmc = ?2 WHERE gpid = ?1");
    update.bind(1, key).bind(2, value);
    update.run();
    if (db.changes() == 0) {
        auto insert = db.prepare("INSERT INTO gpmc (gpid, gpmc, gppy) VALUES (?1, ?2, NULL)");
        insert.bind(1, key).bind(2, value);
        insert.run();
    }
}

double withinRange(double minimum)
{
    return std::clamp(minimum, 0.0, largestCommissionMinimum);
}

} // namespace

FeeRuleSetting loadFeeRuleSetting(sql::Database& db)
{
    FeeRuleSetting setting;
    if (const auto text = firstValue(db, choiceKey)) {
        if (const auto choice = feeRuleChoiceOfText(*text))
            setting.choice = *choice;
    }
    if (const auto text = firstValue(db, minimumKey)) {
        if (const auto minimum = num::parseNumber(*text))
            setting.commissionMinimum = withinRange(*minimum);
    }
    return setting;
}

void saveFeeRuleSetting(sql::Database& db, const FeeRuleSetting& setting)
{
    sql::Transaction transaction(db);
    store(db, choiceKey, feeRuleChoiceText(setting.choice));
    store(db, minimumKey, num::general(withinRange(setting.commissionMinimum)));
    transaction.commit();
}

} // namespace corvanta::ledger
