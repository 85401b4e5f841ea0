#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

// Statements of the same trades as six brokers' clients might write them, and two
// workbooks (written by tools/statements/make-workbooks.py at build time).
namespace corvanta::exchange::generic {

using namespace Qt::StringLiterals;

// The trades, by hand: what every layout holds.
struct HandTrade {
    const char16_t* date;
    const char16_t* code;
    const char16_t* name;
    bool buy;
    qint64 shares;
    double price;
    double commission;
    double stampDuty;
    double transferFee;
    double amount;
};

// Fees priced with rates under which a layout without fee columns gives the same
// figures: buy 0‰ stamp duty, 0.3‰ commission; sell 0.5‰ and 0.3‰.
inline const QList<HandTrade>& handTrades()
{
    static const QList<HandTrade> trades = {
        {u"2024-01-05", u"600036", u"招商银行", true, 1000, 30.5, 9.15, 0, 1, 30500},
        {u"2024-01-08", u"000001", u"平安银行", true, 2000, 9.8, 5.88, 0, 0, 19600},
        {u"2024-02-01", u"600036", u"招商银行", false, 500, 32, 5, 8, 1, 16000},
        {u"2024-03-01", u"000001", u"平安银行", false, 2000, 10.1, 6.06, 10.1, 0, 20200},
        // a new-share allotment with its price
        {u"2024-03-15", u"301000", u"肇民科技", true, 500, 12, 0, 0, 0, 6000},
    };
    return trades;
}

inline QByteArray gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

inline QByteArray gb18030(const QString& text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

struct Layout {
    const char* name;
    QByteArray bytes; // empty: read `workbook` from the generated folder
    QString workbook;
    QString kind;
    QString encoding;
    QChar separator;
    QList<int> trades; // indexes into handTrades(), in file order
    int headerLine = 0;
    int skipped = 0; // lines listed as not trades
};

inline QList<Layout> layouts()
{
    QList<Layout> all;
    // A trading client's "xls" export that is GBK text with tabs, with a title
    // block, a transfer line and a summary line.
    all.append({"gbk_tab_title_summary",
                gbk(u"历史成交查询\r\n"
                    "起始日期：20240101\t终止日期：20241231\r\n"
                    "\r\n"
                    "成交日期\t成交时间\t证券代码\t证券名称\t操作\t成交数量\t成交均价\t成交金额\t"
                    "手续费\t印花税\t过户费\t其他杂费\t发生金额\t合同编号\t\r\n"
                    "20240105\t09:31:02\t600036\t招商银行\t证券买入\t1000\t30.500\t30500.00\t9.15\t"
                    "0.00\t1.00\t0.00\t-30510.15\t1001\t\r\n"
                    "20240108\t10:02:11\t000001\t平安银行\t证券买入\t2000\t9.800\t19600.00\t5.88\t"
                    "0.00\t0.00\t0.00\t-19605.88\t1002\t\r\n"
                    "20240110\t00:00:00\t\t\t银行转证券\t0\t0.000\t0.00\t0.00\t0.00\t0.00\t0.00\t"
                    "50000.00\t\t\r\n"
                    "20240201\t14:55:40\t600036\t招商银行\t证券卖出\t500\t32.000\t16000.00\t5.00\t"
                    "8.00\t1.00\t0.00\t15986.00\t1003\t\r\n"
                    "20240301\t13:01:00\t000001\t平安银行\t证券卖出\t2000\t10.100\t20200.00\t6.06\t"
                    "10.10\t0.00\t0.00\t20183.84\t1004\t\r\n"
                    "合计\t\t\t\t\t\t\t\t26.09\t18.10\t2.00\t0.00\t36053.81\t\t\r\n"_s),
                {},
                u"文本"_s,
                u"GBK"_s,
                u'\t',
                {0, 1, 2, 3},
                4,
                2});
    // UTF-8 with its mark, commas, quoted fields, signed quantities and net
    // amounts, dividend lines.
    all.append({"utf8_bom_comma_signed",
                "\xEF\xBB\xBF" +
                    u"发生日期,业务名称,证券代码,证券名称,成交价格,成交数量,成交金额,佣金,印花税,"
                    "过户费,其他费用,发生金额,备注\n"
                    "2024-01-05,证券买入,600036,招商银行,30.50,1000,\"30,500.00\",9.15,0,1,0,"
                    "-30510.15,\"买入, 普通\"\n"
                    "2024-01-08,证券买入,000001,平安银行,9.80,2000,19600.00,5.88,0,0,0,-19605.88,\n"
                    "2024-01-20,红利入账,000001,平安银行,0,0,0,0,0,0,0,460.00,\n"
                    "2024-01-20,股息红利税补缴,000001,平安银行,0,0,0,0,0,0,0,-46.00,\n"
                    "2024-02-01,证券卖出,600036,招商银行,32.00,-500,-16000.00,5,8,1,0,15986.00,\n"
                    "2024-03-01,证券卖出,000001,平安银行,10.10,-2000,-20200.00,6.06,10.10,0,0,"
                    "20183.84,\n"_s.toUtf8(),
                {},
                u"文本"_s,
                u"UTF-8 (BOM)"_s,
                u',',
                {0, 1, 2, 3},
                1,
                2});
    // UTF-8 without a mark, semicolons, dates with slashes, codes in Excel's
    // ="…" form, no net amount and no other fees.
    all.append({"utf8_semicolon_excel_codes",
                u"日期;代码;名称;买卖标志;数量;价格;金额;净佣金;印花税;过户费\n"
                "2024/1/5;=\"600036\";招商银行;买入;1000;30.5;30500;9.15;0;1\n"
                "2024/1/8;=\"000001\";平安银行;买入;2000;9.8;19600;5.88;0;0\n"
                "2024/2/1;=\"600036\";招商银行;卖出;500;32;16000;5;8;1\n"
                "2024/3/1;=\"000001\";平安银行;卖出;2000;10.1;20200;6.06;10.1;0\n"_s.toUtf8(),
                {},
                u"文本"_s,
                u"UTF-8"_s,
                u';',
                {0, 1, 2, 3},
                1,
                0});
    // GBK with commas and no figures but price and quantity: the amount and every
    // fee are priced.
    all.append({"gbk_comma_priced",
                gbk(u"成交日期,证券代码,证券名称,操作,成交数量,成交均价\r\n"
                    "2024-01-05,600036,招商银行,买入,1000,30.50\r\n"
                    "2024-01-08,000001,平安银行,买入,2000,9.80\r\n"
                    "2024-02-01,600036,招商银行,卖出,500,32.00\r\n"
                    "2024-03-01,000001,平安银行,卖出,2000,10.10\r\n"_s),
                {},
                u"文本"_s,
                u"GBK"_s,
                u',',
                {0, 1, 2, 3},
                1,
                0});
    // GB18030 (its title holds a character GBK lacks), 摘要 as the operation, a
    // new-share subscription and its allotment.
    all.append(
        {"gb18030_tab_new_shares",
         gb18030(u"对账单 𠀀\n"
                 "客户：张三\n"
                 "摘要\t证券代码\t证券名称\t成交日期\t成交数量\t成交均价\t成交金额\t手续费\t"
                 "印花税\t过户费\t发生金额\n"
                 "证券买入\t600036\t招商银行\t20240105\t1000\t30.50\t30500.00\t9.15\t0\t1.00\t"
                 "-30510.15\n"
                 "证券买入\t000001\t平安银行\t20240108\t2000\t9.80\t19600.00\t5.88\t0\t0\t"
                 "-19605.88\n"
                 "证券卖出\t600036\t招商银行\t20240201\t500\t32.00\t16000.00\t5.00\t8.00\t"
                 "1.00\t15986.00\n"
                 "新股申购\t301000\t肇民科技\t20240310\t500\t12.00\t6000.00\t0\t0\t0\t0\n"
                 "证券卖出\t000001\t平安银行\t20240301\t2000\t10.10\t20200.00\t6.06\t10.10\t"
                 "0\t20183.84\n"
                 "新股入帐\t301000\t肇民科技\t20240315\t500\t12.00\t6000.00\t0\t0\t0\t"
                 "-6000.00\n"
                 "利息归本\t\t\t20240321\t0\t0\t0\t0\t0\t0\t3.21\n"
                 "共 7 条记录\n"_s),
         {},
         u"文本"_s,
         u"GB18030"_s,
         u'\t',
         {0, 1, 2, 3, 4},
         3,
         3});
    // UTF-8 tabs, the columns in another order under other names, margin-account
    // operations, negative sell quantities.
    all.append(
        {"utf8_tab_reordered_margin",
         u"证券名称\t股票代码\t买卖方向\t成交股数\t成交价\t成交额\t手续费\t印花税\t过户费\t"
         "交易日期\n"
         "招商银行\t600036\t担保品买入\t1000\t30.50\t30500.00\t9.15\t0\t1\t2024-01-05\n"
         "平安银行\t000001\t担保品买入\t2000\t9.80\t19600.00\t5.88\t0\t0\t2024-01-08\n"
         "招商银行\t600036\t担保品卖出\t-500\t32.00\t16000.00\t5\t8\t1\t2024-02-01\n"
         "平安银行\t000001\t担保品卖出\t-2000\t10.10\t20200.00\t6.06\t10.10\t0\t2024-03-01\n"_s
             .toUtf8(),
         {},
         u"文本"_s,
         u"UTF-8"_s,
         u'\t',
         {0, 1, 2, 3},
         1,
         0});
    all.append({"xls_workbook",
                {},
                u"statement.xls"_s,
                u"Excel 97-2003 (.xls)"_s,
                {},
                {},
                {0, 1, 2, 3},
                4,
                3});
    all.append(
        {"xlsx_workbook", {}, u"statement.xlsx"_s, u"Excel (.xlsx)"_s, {}, {}, {0, 1, 2, 3}, 2, 2});
    return all;
}

} // namespace corvanta::exchange::generic
