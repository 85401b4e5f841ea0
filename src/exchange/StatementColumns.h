#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace corvanta::exchange {

// What a column of a broker's statement holds, as far as a trade needs it.
enum class StatementField {
    Date,
    Code,
    Name,
    Operation,
    Quantity,
    Price,
    Amount,      // 成交金额: quantity times price
    Commission,  // 佣金
    StampDuty,   // 印花税
    TransferFee, // 过户费
    OtherFees,   // 其他杂费
    NetAmount,   // 发生金额: the cash the trade moved
};
inline constexpr int statementFieldCount = 12;

// The word the command line names a field by ("date", "code", … "net").
QString fieldKey(StatementField field);
std::optional<StatementField> fieldOfKey(QStringView key);
// The name the window shows for a field.
QString fieldTitle(StatementField field);

// One header name a broker uses, and the field it holds.
struct ColumnSynonym {
    QStringView name;
    StatementField field;
};

// Every known header name. The table is data: a broker's new wording is a new row.
const QList<ColumnSynonym>& columnSynonyms();

// The field a header cell names; blanks, quotes, a "(元)" style unit and case do
// not matter. None for a column no trade needs (时间, 合同编号, 股东代码, …).
std::optional<StatementField> fieldOfColumnName(QStringView name);

// Which column (from 0) holds each field; -1 where none does.
struct ColumnMapping {
    std::array<int, statementFieldCount> columns;
    ColumnMapping() { columns.fill(-1); }

    int operator[](StatementField field) const { return columns[std::size_t(field)]; }
    int& operator[](StatementField field) { return columns[std::size_t(field)]; }
    bool has(StatementField field) const { return (*this)[field] >= 0; }
    bool operator==(const ColumnMapping&) const = default;
};

// The fields a header's names give; the first column that names a field holds it.
ColumnMapping mapColumns(const QStringList& header);

// A header names at least a date, a code or a name, an operation and a quantity.
bool isGenericHeader(const ColumnMapping& mapping);

} // namespace corvanta::exchange
