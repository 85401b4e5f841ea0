#include "StatementParser.h"

#include "ExportText.h"
#include "PinyinCode.h"
#include "StatementMessages.h"
#include "calc/Numbers.h"

#include <QDate>
#include <QSet>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

// No listed company has this many shares; it keeps sums of quantities far from
// integer overflow.
constexpr qint64 maxShares = 1'000'000'000'000;

constexpr qsizetype pinyinWidth = 8; // gppy holds 8 characters

// Blanks and control characters around a field are no part of it.
QStringView trimField(QStringView field)
{
    qsizetype begin = 0;
    qsizetype end = field.size();
    while (begin < end && field[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && field[end - 1].unicode() <= u' ')
        --end;
    return field.sliced(begin, end - begin);
}

std::optional<QDate> readDate(QStringView text, const DateForm& form)
{
    if (text.size() != form.length)
        return std::nullopt;
    auto number = [&](int at, int digits) -> int {
        int value = 0;
        for (int i = at; i < at + digits; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const QDate date(number(form.yearAt, 4), number(form.monthAt, 2), number(form.dayAt, 2));
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// A computed amount as the ledger writes it: the shortest form of 15 significant digits.
double general(double value)
{
    return num::parseNumber(num::general(value)).value_or(value);
}

// Text that decoded whole: no replacement character and no control character
// where a word belongs.
bool readable(QStringView text)
{
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QChar::ReplacementCharacter || c.category() == QChar::Other_Control;
    });
}

// One data line read with a layout: a trade, or why there is none.
class LineReader {
public:
    LineReader(QStringView line, const StatementLayout& layout)
        : m_fields(line.split(u'\t')), m_layout(layout)
    {
    }

    // Fields followed by a tab.
    qsizetype tabs() const { return m_fields.size() - 1; }

    // Field `n` (from 1), trimmed, with the sign dropped where the layout says so.
    QStringView field(int n) const
    {
        if (n < 1 || n > tabs())
            return {};
        QStringView text = trimField(m_fields.at(n - 1));
        if (m_layout.unsignedFields.contains(n) && text.startsWith(u'-'))
            text = text.sliced(1);
        return text;
    }

    bool readNumber(int n, double& value) const
    {
        if (n == 0)
            return true;
        const std::optional<double> number = num::parseNumber(field(n));
        if (!number)
            return false;
        value = *number;
        return true;
    }

private:
    QList<QStringView> m_fields;
    const StatementLayout& m_layout;
};

// The trade of one data line, or the issue that leaves it out.
struct LineOutcome {
    std::optional<ledger::StatementTrade> trade;
    QStringView reason;
    bool silent = false;
};

LineOutcome skip(QStringView reason)
{
    return {std::nullopt, reason, true};
}

LineOutcome refuse(QStringView reason)
{
    return {std::nullopt, reason, false};
}

LineOutcome readLine(QStringView line, int number, const StatementLayout& layout)
{
    const LineReader reader(line, layout);
    if (reader.tabs() < 3)
        return skip(messages::tooFewTabs);

    const QStringView operation = reader.field(layout.operationField);
    const bool buy = operation == u"买入";
    const bool sell = operation == u"卖出";
    // Bytes that are no text of the file's encoding: neither a buy nor a sell
    // can be told, and a garbled operation would be booked as a sale.
    if (!buy && !sell && !readable(operation))
        return refuse(messages::unreadableOperation);
    if (!buy && !sell && layout.otherOperation == OtherOperation::Skip &&
        layout.operationField <= reader.tabs())
        return skip(messages::otherOperation);
    if (reader.tabs() < layout.lastField())
        return refuse(messages::tooFewFields);

    const std::optional<qint64> shares = num::parseInteger(reader.field(layout.quantityField));
    if (!shares)
        return refuse(messages::quantityNotWhole);
    if (*shares < 1)
        return skip(messages::quantityBelowOne);
    if (*shares > maxShares)
        return refuse(messages::quantityTooLarge);

    const std::optional<QDate> date = readDate(reader.field(layout.dateField), layout.dateForm);
    if (!date)
        return refuse(messages::dateInvalid);

    ledger::StatementTrade trade;
    trade.line = number;
    trade.date = date->toString(u"yyyy-MM-dd"_s);
    trade.code = reader.field(layout.codeField).toString();
    trade.name = reader.field(layout.nameField).toString();
    if (trade.code.isEmpty() || trade.name.isEmpty())
        return refuse(messages::noCodeOrName);
    // Bytes that are no GBK text decode to U+FFFD: the stock would enter the
    // stock table under a garbled name.
    if (trade.code.contains(QChar::ReplacementCharacter) ||
        trade.name.contains(QChar::ReplacementCharacter))
        return refuse(messages::unreadableCodeOrName);
    trade.operation = operation.toString();
    trade.buy = buy;
    trade.shares = *shares;

    if (!reader.readNumber(layout.priceField, trade.price))
        return refuse(messages::priceNotANumber);
    double fees = 0;
    for (int field : layout.feeFields) {
        double fee = 0;
        if (!reader.readNumber(field, fee))
            return refuse(messages::feeNotANumber);
        fees += fee;
    }
    trade.fees = general(fees);
    reader.readNumber(layout.stampDutyField, trade.stampDuty);
    reader.readNumber(layout.commissionField, trade.commission);
    reader.readNumber(layout.transferFeeField, trade.transferFee);

    double amount = 0;
    if (!reader.readNumber(layout.amountField, amount))
        return refuse(messages::amountNotANumber);
    switch (layout.amountRule) {
    case AmountRule::GrossWithFees:
        trade.total = general(buy ? amount + trade.fees : amount - trade.fees);
        break;
    case AmountRule::TotalAsRead:
        trade.total = amount;
        break;
    }

    // Bonus shares and transfers are trades of the ledger but name no new stock.
    trade.addsStock = buy || sell;
    if (trade.addsStock)
        trade.pinyin = pinyinCode(trade.name).left(pinyinWidth);
    return {trade, {}, false};
}

} // namespace

QString decodeStatement(const QByteArray& bytes)
{
    return decodeExportText(bytes);
}

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    return lines;
}

bool isStatementHeader(QStringView line)
{
    return line.contains(u"成交日期") && line.contains(u"证券代码") && line.contains(u"证券名称");
}

ParsedStatement parseStatement(QStringView text, const StatementLayout& layout)
{
    const QList<QStringView> lines = splitLines(text);
    ParsedStatement statement;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (isStatementHeader(lines.at(i)))
            statement.headerLine = int(i + 1);
    }

    QSet<QString> named;
    for (qsizetype i = statement.headerLine; i < lines.size(); ++i) {
        const int number = int(i + 1);
        statement.dataLines.append({number, lines.at(i).toString()});
        LineOutcome outcome = readLine(lines.at(i), number, layout);
        if (!outcome.trade) {
            (outcome.silent ? statement.skipped : statement.refused)
                .append({number, outcome.reason.toString()});
            continue;
        }
        const ledger::StatementTrade& trade = *outcome.trade;
        if (trade.addsStock) {
            const QString key = trade.code + u'\t' + trade.name;
            if (!named.contains(key)) {
                named.insert(key);
                statement.stocks.append({trade.code, trade.name, trade.pinyin});
            }
        }
        statement.trades.append(std::move(*outcome.trade));
    }
    return statement;
}

ParsedStatement parseStatement(const QByteArray& bytes, const StatementLayout& layout)
{
    return parseStatement(decodeStatement(bytes), layout);
}

} // namespace corvanta::exchange
