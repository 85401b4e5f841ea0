#pragma once

#include <QString>

#include <optional>

namespace corvanta::sql {
class Database;
}

namespace corvanta::ledger {

// The data-source choice and the real sources' hosts are gpmc rows whose gpid is a
// key of letters (no stock code collides with one), the value in gpmc:
// "hqly" the chosen source's menu text ("新浪", "腾讯", "金融界"), "xlzj" the Sina
// host, "txzj" the Tencent host.
enum class QuoteSourceRow {
    Choice,
    SinaHost,
    TencentHost,
};

// The value of the first row of the key; none when there is no row.
std::optional<QString> loadQuoteSourceRow(sql::Database& db, QuoteSourceRow row);

// Stores the value in one transaction: every row of the key is updated, or one is
// inserted when there is none. The caller validates the value first.
void saveQuoteSourceRow(sql::Database& db, QuoteSourceRow row, const QString& value);

} // namespace corvanta::ledger
