#include "StatementColumns.h"

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

struct FieldNames {
    QStringView key;
    QStringView title;
};

constexpr std::array<FieldNames, statementFieldCount> fieldNames = {{
    {u"date", u"成交日期"},
    {u"code", u"证券代码"},
    {u"name", u"证券名称"},
    {u"operation", u"操作"},
    {u"quantity", u"成交数量"},
    {u"price", u"成交价格"},
    {u"amount", u"成交金额"},
    {u"commission", u"佣金"},
    {u"stamp", u"印花税"},
    {u"transfer", u"过户费"},
    {u"other", u"其他杂费"},
    {u"net", u"发生金额"},
}};

// The header cell without blanks, quotes, "=" and a bracketed unit: "成交金额(元)"
// and "\"成交金额\"" name the same column.
QString plainName(QStringView name)
{
    QString plain;
    plain.reserve(name.size());
    for (QChar c : name) {
        if (c.isSpace() || c == u'"' || c == u'=' || c == u'\'' || c == QChar(0xFEFF))
            continue;
        plain.append(c);
    }
    for (QStringView open : {u"(", u"（", u"["}) {
        const qsizetype at = plain.indexOf(open);
        if (at > 0)
            plain.truncate(at);
    }
    return plain.toCaseFolded();
}

} // namespace

QString fieldKey(StatementField field)
{
    return fieldNames[std::size_t(field)].key.toString();
}

std::optional<StatementField> fieldOfKey(QStringView key)
{
    for (int i = 0; i < statementFieldCount; ++i) {
        if (fieldNames[std::size_t(i)].key == key)
            return StatementField(i);
    }
    return std::nullopt;
}

QString fieldTitle(StatementField field)
{
    return fieldNames[std::size_t(field)].title.toString();
}

std::optional<StatementField> fieldOfColumnName(QStringView name)
{
    const QString plain = plainName(name);
    if (plain.isEmpty())
        return std::nullopt;
    for (const ColumnSynonym& synonym : columnSynonyms()) {
        if (synonym.name == plain)
            return synonym.field;
    }
    return std::nullopt;
}

ColumnMapping mapColumns(const QStringList& header)
{
    ColumnMapping mapping;
    for (qsizetype column = 0; column < header.size(); ++column) {
        const auto field = fieldOfColumnName(header.at(column));
        if (field && !mapping.has(*field))
            mapping[*field] = int(column);
    }
    return mapping;
}

bool isGenericHeader(const ColumnMapping& mapping)
{
    using F = StatementField;
    return mapping.has(F::Date) && (mapping.has(F::Code) || mapping.has(F::Name)) &&
           mapping.has(F::Operation) && mapping.has(F::Quantity);
}

} // namespace corvanta::exchange
