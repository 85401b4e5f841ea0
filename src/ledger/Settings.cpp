#include "Settings.h"

#include "calc/Numbers.h"
#include "sql/Database.h"
#include "sql/Statement.h"

#include <array>

using namespace Qt::StringLiterals;

namespace corvanta::ledger {

namespace {

// The keys are made of letters, so no stock code collides with them.
struct SideKeys {
    QString otherFee, stampRate, commissionRate;
};

SideKeys keysOf(Direction side)
{
    if (side == Direction::Sell)
        return {u"mczfsd"_s, u"mcyhs"_s, u"mcsxf"_s};
    return {u"zfsd"_s, u"yhssd"_s, u"sxfsd"_s};
}

const QString proxyKey = u"proxsd"_s;
const QString fontSizeKey = u"ztsd"_s;
const QString fontBoldKey = u"zxsd"_s;

constexpr int largestFontIndex = 4;
constexpr qint64 largestPort = 65535;

struct Row {
    QString value;  // gpmc
    QString second; // gppy
};

// The first row of the key (exact, case-sensitive match), if any.
std::optional<Row> findRow(sql::Database& db, const QString& key)
{
    auto query = db.prepare("SELECT gpmc, gppy FROM gpmc WHERE gpid = ?1 ORDER BY id LIMIT 1");
    query.bind(1, key);
    if (!query.step())
        return std::nullopt;
    return Row{query.text(0), query.text(1)};
}

// A fee row: its text and value, or nothing when missing or not a number.
std::optional<std::pair<QString, double>> feeRow(sql::Database& db, const QString& key)
{
    const std::optional<Row> row = findRow(db, key);
    if (!row)
        return std::nullopt;
    const std::optional<double> value = num::parseNumber(row->value);
    if (!value)
        return std::nullopt;
    return std::pair{row->value, *value};
}

void loadFee(sql::Database& db, const QString& key, double& value, std::optional<QString>* text)
{
    if (const auto fee = feeRow(db, key)) {
        value = fee->second;
        if (text)
            *text = fee->first;
    }
}

std::optional<qint64> integerIn(const QString& text, qint64 low, qint64 high)
{
    const std::optional<qint64> value = num::parseInteger(text);
    if (value && *value >= low && *value <= high)
        return value;
    return std::nullopt;
}

// Updates every row of the key, or inserts one when there is none.
void writeRow(sql::Database& db, const QString& key, const QString& value,
              const std::optional<QString>& second = std::nullopt)
{
    auto update = second ? db.prepare("UPDATE gpmc SET gpmc = ?2, gppy = ?3 WHERE gpid = ?1")
                         : db.prepare("UPDATE gpmc SET gpmc = ?2 WHERE gpid = ?1");
    update.bind(1, key).bind(2, value);
    if (second)
        update.bind(3, *second);
    update.run();
    if (db.changes() > 0)
        return;
    auto insert = db.prepare("INSERT INTO gpmc (gpid, gpmc, gppy) VALUES (?1, ?2, ?3)");
    insert.bind(1, key).bind(2, value);
    if (second)
        insert.bind(3, *second);
    else
        insert.bindNull(3);
    insert.run();
}

} // namespace

FeeRates defaultFeeRates()
{
    return {defaultOtherFee, defaultStampRate, defaultCommissionRate,
            defaultOtherFee, defaultStampRate, defaultCommissionRate};
}

LoadedSettings loadSettings(sql::Database& db)
{
    LoadedSettings loaded;
    FeeRates& rates = loaded.rates;
    const SideKeys buy = keysOf(Direction::Buy);
    loadFee(db, buy.otherFee, rates.buyOtherFee, &loaded.buyOtherFeeText);
    loadFee(db, buy.stampRate, rates.buyStampRate, &loaded.buyStampRateText);
    loadFee(db, buy.commissionRate, rates.buyCommissionRate, &loaded.buyCommissionRateText);
    const SideKeys sell = keysOf(Direction::Sell);
    loadFee(db, sell.otherFee, rates.sellOtherFee, nullptr);
    loadFee(db, sell.stampRate, rates.sellStampRate, nullptr);
    loadFee(db, sell.commissionRate, rates.sellCommissionRate, nullptr);

    if (const std::optional<Row> proxy = findRow(db, proxyKey)) {
        loaded.proxyHost = proxy->value;
        loaded.proxyPort = int(integerIn(proxy->second, 0, largestPort).value_or(0));
    }
    if (const std::optional<Row> size = findRow(db, fontSizeKey))
        loaded.font.sizeIndex = int(integerIn(size->value, 0, largestFontIndex).value_or(0));
    if (const std::optional<Row> bold = findRow(db, fontBoldKey))
        loaded.font.bold = bold->value == u"B"_s;
    return loaded;
}

FeeRates saveSettings(sql::Database& db, const SettingsToSave& settings, FeeRates current)
{
    const SideKeys keys = keysOf(settings.side);
    sql::Transaction transaction(db);
    writeRow(db, keys.otherFee, settings.otherFee);
    writeRow(db, keys.stampRate, settings.stampRate);
    writeRow(db, keys.commissionRate, settings.commissionRate);
    writeRow(db, proxyKey, settings.proxyHost, QString::number(settings.proxyPort));
    writeRow(db, fontSizeKey, QString::number(settings.font.sizeIndex));
    writeRow(db, fontBoldKey, settings.font.bold ? u"B"_s : u"N"_s);
    transaction.commit();

    const bool sell = settings.side == Direction::Sell;
    const std::array<std::pair<const QString*, double*>, 3> fields{{
        {&settings.otherFee, sell ? &current.sellOtherFee : &current.buyOtherFee},
        {&settings.stampRate, sell ? &current.sellStampRate : &current.buyStampRate},
        {&settings.commissionRate, sell ? &current.sellCommissionRate : &current.buyCommissionRate},
    }};
    for (const auto& [text, field] : fields) {
        const std::optional<double> value = num::parseNumber(*text);
        if (!value)
            break; // this field and the ones after it keep their values
        *field = *value;
    }
    return current;
}

QString savedMessage(Direction side)
{
    if (side == Direction::Sell)
        return u"卖出费率设置、代理服务器地址、字体等保存成功按确定返回 "_s;
    return u"买入费率设置、代理服务器地址、字体等保存成功按确定返回 "_s;
}

} // namespace corvanta::ledger
