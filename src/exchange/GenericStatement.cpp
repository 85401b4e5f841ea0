#include "GenericStatement.h"

#include "PinyinCode.h"
#include "StatementMessages.h"
#include "calc/FeeRules.h"
#include "calc/MarketKind.h"
#include "calc/Numbers.h"

#include <QDate>
#include <QSet>

#include <cmath>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

using F = StatementField;

constexpr qint64 maxShares = 1'000'000'000'000; // as the fixed layouts
constexpr qsizetype pinyinWidth = 8;
constexpr double netTolerance = 0.01;

// A spreadsheet stores a date as days since 1899-12-30; these bound 1960 to 2150.
constexpr double firstSerialDate = 21916;
constexpr double lastSerialDate = 91311;

double general(double value)
{
    return num::parseNumber(num::general(value)).value_or(value);
}

double cents(double value)
{
    return num::roundHalfAway(value, 2);
}

// 20240105, 2024-01-05, 2024/1/5, 2024.01.05, 2024年1月5日, with a time after a
// blank or "T", or a spreadsheet's day number. Read by hand: this runs per line.
std::optional<QDate> readDate(QStringView text)
{
    text = text.trimmed();
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] == u' ' || text[i] == u'T') {
            text = text.left(i);
            break;
        }
    }
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    bool separated = false;
    for (QChar c : text) {
        if (c.isDigit() && c.unicode() < 128) {
            if (part > 2)
                return std::nullopt;
            parts[part] = parts[part] * 10 + (c.unicode() - u'0');
            if (++digits[part] > 8)
                return std::nullopt;
        } else if (c == u'-' || c == u'/' || c == u'.' || c == u'年' || c == u'月' || c == u'日') {
            separated = true;
            if (digits[qMin(part, 2)] > 0)
                ++part;
        } else {
            return std::nullopt;
        }
    }
    if (!separated && digits[0] == 8 && text.front() != u'0') {
        const QDate date(parts[0] / 10000, parts[0] / 100 % 100, parts[0] % 100);
        return date.isValid() ? std::optional(date) : std::nullopt;
    }
    if (separated && digits[0] == 4 && digits[1] >= 1 && digits[1] <= 2 && digits[2] >= 1 &&
        digits[2] <= 2) {
        const QDate date(parts[0], parts[1], parts[2]);
        return date.isValid() ? std::optional(date) : std::nullopt;
    }
    const std::optional<double> serial = num::parseNumber(text);
    if (serial && *serial >= firstSerialDate && *serial <= lastSerialDate)
        return QDate(1899, 12, 30).addDays(qint64(*serial));
    return std::nullopt;
}

// Figures may carry thousands separators or a currency sign.
std::optional<double> readNumber(QString text)
{
    text.remove(u',').remove(u'，').remove(u'¥').remove(u'￥');
    return num::parseNumber(text.trimmed());
}

// A code a spreadsheet kept as a number lost its leading zeros.
QString readCode(const QString& text)
{
    QString code = text.trimmed();
    if (code.endsWith(u".0"_s))
        code.chop(2);
    bool digits = !code.isEmpty();
    for (QChar c : code)
        digits = digits && c.isDigit();
    if (digits && code.size() < 6)
        code = code.rightJustified(6, u'0');
    return code;
}

bool isOneOf(QStringView text, std::initializer_list<QStringView> words)
{
    for (QStringView word : words) {
        if (text == word)
            return true;
    }
    return false;
}

struct RowOutcome {
    std::optional<ledger::StatementTrade> trade;
    QString reason;
    bool refused = false;
    QString warning;
};

RowOutcome skip(const QString& reason)
{
    return {std::nullopt, reason, false, {}};
}

RowOutcome refuse(QStringView reason)
{
    return {std::nullopt, reason.toString(), true, {}};
}

class RowReader {
public:
    RowReader(const QStringList& cells, const ColumnMapping& mapping)
        : m_cells(cells), m_mapping(mapping)
    {
    }

    bool has(F field) const { return m_mapping.has(field); }
    QString text(F field) const
    {
        return has(field) ? m_cells.value(m_mapping[field]).trimmed() : QString();
    }
    // A figure's magnitude: signs tell the direction, which the operation gives.
    // An empty cell is 0; a cell that is no number gives none.
    std::optional<double> magnitude(F field) const
    {
        const QString cell = text(field);
        if (cell.isEmpty())
            return 0.0;
        const auto value = readNumber(cell);
        return value ? std::optional(std::fabs(*value)) : std::nullopt;
    }

private:
    const QStringList& m_cells;
    const ColumnMapping& m_mapping;
};

// The fee of a column the file lacks, by the rules of the fee calculator.
struct PricedFees {
    double commission = 0;
    double stampDuty = 0;
    double transferFee = 0;
};

PricedFees priceFees(const FeeRates& rates, bool buy, const QString& code, double amount,
                     double shares)
{
    const double stampRate = buy ? rates.buyStampRate : rates.sellStampRate;
    const double commissionRate = buy ? rates.buyCommissionRate : rates.sellCommissionRate;
    const int transferFlag = flagsFor(inferMarket(code)).transferFee;
    PricedFees fees;
    fees.stampDuty = cents(amount * stampRate / 1000 * stampDutyFlagForCode(code));
    fees.commission = cents(commission(amount, commissionRate));
    fees.transferFee = cents(transferPart(shares, 0, transferFlag));
    return fees;
}

QString joined(const QStringList& cells)
{
    QStringList shown;
    for (const QString& cell : cells) {
        if (!cell.isEmpty())
            shown << cell;
    }
    return shown.join(u' ');
}

RowOutcome readRow(const QStringList& cells, int line, const ColumnMapping& mapping,
                   const FeeRates& rates)
{
    const RowReader row(cells, mapping);
    const QString operation = row.text(F::Operation);
    const auto quantity = row.magnitude(F::Quantity);
    const auto price = row.has(F::Price) ? row.magnitude(F::Price) : std::optional(0.0);
    bool buy = false;
    switch (operationKind(operation)) {
    case OperationKind::Buy:
        buy = true;
        break;
    case OperationKind::Sell:
        break;
    case OperationKind::NewShares:
        if (!price || *price <= 0)
            return skip(u"新股入账没有价格，不是买入："_s + operation);
        buy = true;
        break;
    case OperationKind::Dividend:
        return skip(u"分红送股暂不导入："_s + operation);
    case OperationKind::Other:
        if (operation.isEmpty())
            return skip(u"不是交易行："_s + joined(cells));
        return skip(u"不是买卖："_s + operation);
    }

    if (!quantity)
        return refuse(messages::quantityNotWhole);
    if (*quantity != std::floor(*quantity))
        return refuse(messages::quantityNotWhole);
    if (*quantity < 1)
        return skip(messages::quantityBelowOne.toString());
    if (*quantity > double(maxShares))
        return refuse(messages::quantityTooLarge);
    const auto date = readDate(row.text(F::Date));
    if (!date)
        return refuse(messages::dateInvalid);

    ledger::StatementTrade trade;
    trade.line = line;
    trade.date = date->toString(u"yyyy-MM-dd"_s);
    trade.code = readCode(row.text(F::Code));
    trade.name = row.text(F::Name);
    if (trade.code.isEmpty() || trade.name.isEmpty())
        return refuse(messages::noCodeOrName);
    if (trade.code.contains(QChar::ReplacementCharacter) ||
        trade.name.contains(QChar::ReplacementCharacter))
        return refuse(messages::unreadableCodeOrName);
    trade.buy = buy;
    trade.operation = buy ? u"买入"_s : u"卖出"_s;
    trade.shares = qint64(*quantity);

    const auto amountRead = row.has(F::Amount) ? row.magnitude(F::Amount) : std::nullopt;
    if (row.has(F::Amount) && !amountRead)
        return refuse(messages::amountNotANumber);
    if (!price)
        return refuse(messages::priceNotANumber);
    double amount = amountRead.value_or(0);
    if (!row.has(F::Amount) || amount == 0)
        amount = cents(*price * double(trade.shares));
    trade.price = row.has(F::Price) && *price > 0 ? *price : general(amount / double(trade.shares));
    if (trade.price <= 0)
        return refuse(messages::priceNotANumber);

    const PricedFees priced = priceFees(rates, buy, trade.code, amount, double(trade.shares));
    auto fee = [&](F field, double pricedFee) -> std::optional<double> {
        return row.has(field) ? row.magnitude(field) : std::optional(pricedFee);
    };
    const auto commission = fee(F::Commission, priced.commission);
    const auto stampDuty = fee(F::StampDuty, priced.stampDuty);
    const auto transferFee = fee(F::TransferFee, priced.transferFee);
    const auto otherFees = fee(F::OtherFees, 0);
    if (!commission || !stampDuty || !transferFee || !otherFees)
        return refuse(messages::feeNotANumber);
    trade.commission = *commission;
    trade.stampDuty = *stampDuty;
    trade.transferFee = *transferFee;
    trade.fees = general(*commission + *stampDuty + *transferFee + *otherFees);
    trade.total = general(buy ? amount + trade.fees : amount - trade.fees);
    trade.addsStock = true;
    trade.pinyin = pinyinCode(trade.name).left(pinyinWidth);

    RowOutcome outcome{trade, {}, false, {}};
    if (row.has(F::NetAmount) && !row.text(F::NetAmount).isEmpty()) {
        const auto net = row.magnitude(F::NetAmount);
        if (!net)
            outcome.warning = u"发生金额不是数字"_s;
        else if (std::fabs(*net - trade.total) > netTolerance + 1e-9)
            outcome.warning = u"发生金额 %1 与成交金额%2费用 %3 不符"_s.arg(
                num::general(*net), buy ? u"加"_s : u"减"_s, num::general(trade.total));
    }
    return outcome;
}

} // namespace

int findHeaderRow(const QList<QStringList>& rows)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (isGenericHeader(mapColumns(rows.at(i))))
            return int(i);
    }
    return -1;
}

OperationKind operationKind(QStringView text)
{
    const QString plain = text.trimmed().toString().remove(u' ');
    if (isOneOf(plain, {u"证券买入", u"买入", u"担保品买入", u"普通买入", u"买"}))
        return OperationKind::Buy;
    if (isOneOf(plain, {u"证券卖出", u"卖出", u"担保品卖出", u"普通卖出", u"卖"}))
        return OperationKind::Sell;
    if (plain.contains(u"新股入帐") || plain.contains(u"新股入账") || plain.contains(u"中签"))
        return OperationKind::NewShares;
    if (isOneOf(plain, {u"红利入账", u"红利入帐", u"股息入账", u"股息入帐", u"红股入账",
                        u"红股入帐", u"股息红利税补缴", u"股息红利差异扣税", u"红利发放"}))
        return OperationKind::Dividend;
    return OperationKind::Other;
}

GenericStatement readGenericStatement(StatementTable table, const FeeRates& rates,
                                      const std::optional<ColumnMapping>& mapping)
{
    GenericStatement statement;
    statement.table = std::move(table);
    const QList<QStringList>& rows = statement.table.rows;
    statement.headerRow = findHeaderRow(rows);
    if (statement.headerRow < 0)
        return statement;
    statement.detected = mapColumns(rows.at(statement.headerRow));
    statement.mapping = mapping.value_or(statement.detected);
    statement.parsed.headerLine = statement.headerRow + 1;

    for (int i = 0; i < statement.headerRow; ++i) {
        const QString text = joined(rows.at(i));
        if (!text.isEmpty())
            statement.titleLines.append({i + 1, text});
    }
    QSet<QString> named;
    for (qsizetype i = statement.headerRow + 1; i < rows.size(); ++i) {
        const QStringList& cells = rows.at(i);
        const int line = int(i + 1);
        if (joined(cells).isEmpty())
            continue;
        statement.parsed.dataLines.append({line, cells.join(u'\t')});
        RowOutcome outcome = readRow(cells, line, statement.mapping, rates);
        if (!outcome.trade) {
            (outcome.refused ? statement.parsed.refused : statement.parsed.skipped)
                .append({line, outcome.reason});
            continue;
        }
        if (!outcome.warning.isEmpty())
            statement.warnings.append({line, outcome.warning});
        const ledger::StatementTrade& trade = *outcome.trade;
        const QString key = trade.code + u'\t' + trade.name;
        if (!named.contains(key)) {
            named.insert(key);
            statement.parsed.stocks.append({trade.code, trade.name, trade.pinyin});
        }
        statement.parsed.trades.append(std::move(*outcome.trade));
    }
    return statement;
}

GenericStatement readGenericStatement(const QByteArray& bytes, const FeeRates& rates,
                                      const std::optional<ColumnMapping>& mapping)
{
    return readGenericStatement(readStatementTable(bytes), rates, mapping);
}

MappingChange changeMapping(ColumnMapping mapping, const QStringList& header,
                            const QStringList& words)
{
    MappingChange change;
    for (const QString& word : words) {
        const qsizetype equals = word.indexOf(u'=');
        const auto field = equals > 0 ? fieldOfKey(QStringView(word).left(equals)) : std::nullopt;
        if (!field) {
            change.error = u"无法理解映射“"_s + word + u"”：应为 字段=列名，字段为 "_s;
            QStringList keys;
            for (int i = 0; i < statementFieldCount; ++i)
                keys << fieldKey(StatementField(i));
            change.error += keys.join(u'、');
            return change;
        }
        const QString column = word.mid(equals + 1).trimmed();
        int index = -1;
        if (!column.isEmpty()) {
            index = int(header.indexOf(column));
            bool number = false;
            const int at = column.toInt(&number);
            if (index < 0 && number && at >= 1 && at <= header.size())
                index = at - 1;
            if (index < 0) {
                change.error = u"映射“"_s + word + u"”：表头中没有“"_s + column + u"”这一列"_s;
                return change;
            }
        }
        mapping[*field] = index;
    }
    change.mapping = mapping;
    return change;
}

std::optional<QString> nothingToImport(const GenericStatement& statement)
{
    if (!statement.table.error.isEmpty())
        return u"没有导入：无法读取文件（"_s + statement.table.error + u"）。账本没有任何改动。"_s;
    if (statement.headerRow < 0)
        return u"没有导入：文件中没有找到表头（需要有成交日期、证券代码或证券名称、操作、"
               "成交数量等列名）。账本没有任何改动。"_s;
    if (!statement.parsed.trades.isEmpty())
        return std::nullopt;
    QString text = u"没有导入：文件中没有读到任何买卖记录"_s;
    if (!statement.parsed.refused.isEmpty())
        text += u"（"_s + QString::number(statement.parsed.refused.size()) + u" 行无法识别，第 "_s +
                QString::number(statement.parsed.refused.first().line) + u" 行："_s +
                statement.parsed.refused.first().reason + u"）"_s;
    return text + u"。账本没有任何改动。"_s;
}

namespace {

QString missingColumn(StatementField field)
{
    const bool priced = field == F::Commission || field == F::StampDuty || field == F::TransferFee;
    return priced ? u"（无，按费率计算）"_s : u"（无）"_s;
}

} // namespace

QString genericFileFilter()
{
    return u"交割单 (*.txt *.csv *.xls *.xlsx);;所有文件 (*)"_s;
}

QStringList describeStatement(const GenericStatement& statement)
{
    const StatementTable& table = statement.table;
    QString kind = u"文件类型："_s + table.kind;
    if (!table.encoding.isEmpty())
        kind += u"，编码："_s + table.encoding + u"，分隔符："_s + separatorName(table.separator);
    QStringList lines{kind};
    if (statement.headerRow < 0)
        return lines;
    lines << u"表头（第 %1 行）："_s.arg(statement.headerRow + 1) +
                 statement.header().join(u" | "_s);
    const QStringList header = statement.header();
    for (int i = 0; i < statementFieldCount; ++i) {
        const int column = statement.mapping.columns[std::size_t(i)];
        lines << u"  "_s + fieldKey(StatementField(i)).leftJustified(10) +
                     fieldTitle(StatementField(i)) + u" ← "_s +
                     (column >= 0 ? header.value(column) : missingColumn(StatementField(i)));
    }
    return lines;
}

} // namespace corvanta::exchange
