#pragma once

#include <QList>
#include <QString>

namespace corvanta::ledger {

// One trade line of a broker statement, read and checked, ready to be written.
// Amounts are positive; buy or sell is told by the operation alone.
struct StatementTrade {
    int line = 0;      // the line's number in the statement, from 1
    QString date;      // "yyyy-MM-dd"
    QString code;      // 股票代码
    QString name;      // 股票名
    QString operation; // 交易状态 as read: "买入", "卖出", or another text that sells
    bool buy = false;
    qint64 shares = 0; // at least 1
    double price = 0;
    double fees = 0;  // 费用
    double total = 0; // 总金额
    double stampDuty = 0;
    double commission = 0;
    double transferFee = 0;
    // Whether the line adds its stock (code and name together) to the stock table
    // when the table lacks it, and the pinyin code it is added with.
    bool addsStock = false;
    QString pinyin;
};

} // namespace corvanta::ledger

Q_DECLARE_TYPEINFO(corvanta::ledger::StatementTrade, Q_RELOCATABLE_TYPE);
