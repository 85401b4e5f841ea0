#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

#include <ostream>

// Statements as the trading client writes them: tab-separated GBK text, every
// field followed by a tab.
namespace corvanta::exchange::fixtures {

inline QString tabbed(const QStringList& fields)
{
    return fields.join(u'\t') + u'\t';
}

inline QString sczqHeader()
{
    return tabbed({QStringLiteral("成交日期"), QStringLiteral("成交时间"),
                   QStringLiteral("证券代码"), QStringLiteral("证券名称"), QStringLiteral("操作"),
                   QStringLiteral("成交数量"), QStringLiteral("成交编号"),
                   QStringLiteral("成交均价"), QStringLiteral("成交金额"),
                   QStringLiteral("其他杂费"), QStringLiteral("合同编号"), QStringLiteral("手续费"),
                   QStringLiteral("印花税"), QStringLiteral("过户费")});
}

inline QString cdzqHeader()
{
    return tabbed({QStringLiteral("成交日期"), QStringLiteral("证券代码"),
                   QStringLiteral("证券名称"), QStringLiteral("操作"), QStringLiteral("成交数量"),
                   QStringLiteral("成交均价"), QStringLiteral("成交金额"),
                   QStringLiteral("合同编号"), QStringLiteral("手续费"), QStringLiteral("印花税"),
                   QStringLiteral("过户费"), QStringLiteral("发生金额")});
}

// One 首创证券 line: amount is the gross trade amount, further the fee of field 10.
struct Sczq {
    QString date = QStringLiteral("2007-05-21");
    QString code = QStringLiteral("000709");
    QString name = QStringLiteral("唐钢股份");
    QString operation = QStringLiteral("买入");
    QString quantity = QStringLiteral("1000");
    QString price = QStringLiteral("10.00");
    QString amount = QStringLiteral("10000.00");
    QString further = QStringLiteral("10");
    QString commission = QStringLiteral("5");
    QString stampDuty = QStringLiteral("10");
    QString transferFee = QStringLiteral("1");

    QString line() const
    {
        return tabbed({date, QStringLiteral("09:31:02"), code, name, operation, quantity,
                       QStringLiteral("1234"), price, amount, further, QStringLiteral("A1"),
                       commission, stampDuty, transferFee, QStringLiteral("ignored")});
    }
};

// One 财达证券 line: total is the total amount of the trade.
struct Cdzq {
    QString date = QStringLiteral("20070521");
    QString code = QStringLiteral("600000");
    QString name = QStringLiteral("浦发银行");
    QString operation = QStringLiteral("买入");
    QString quantity = QStringLiteral("500");
    QString price = QStringLiteral("20.00");
    QString commission = QStringLiteral("30");
    QString stampDuty = QStringLiteral("10");
    QString transferFee = QStringLiteral("1");
    QString total = QStringLiteral("10041");

    QString line() const
    {
        return tabbed({date, code, name, operation, quantity, price, QStringLiteral("10000"),
                       QStringLiteral("B7"), commission, stampDuty, transferFee, total});
    }
};

// The statement file: the lines joined by `lineEnd`, with a final line end, in GBK.
inline QByteArray statementFile(const QStringList& lines, QStringView lineEnd = u"\r\n")
{
    QStringEncoder gbk("GBK");
    return gbk.encode(lines.join(lineEnd) + lineEnd);
}

// The same statement saved again as UTF-8 without the mark, as editors do.
inline QByteArray utf8StatementFile(const QStringList& lines, QStringView lineEnd = u"\r\n")
{
    return (lines.join(lineEnd) + lineEnd).toUtf8();
}

} // namespace corvanta::exchange::fixtures
