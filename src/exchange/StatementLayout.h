#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace corvanta::exchange {

// Where year, month and day stand in a date field (character positions from 0;
// four digits for the year, two each for month and day). Other characters are
// separators of any kind.
struct DateForm {
    int length = 0;
    int yearAt = 0;
    int monthAt = 0;
    int dayAt = 0;
};

// What a line whose operation is neither "买入" nor "卖出" is.
enum class OtherOperation {
    Skip, // not a trade: the line is left out
    Sell, // a sell, stored with its own operation text
};

// How 总金额 is found.
enum class AmountRule {
    GrossWithFees, // the amount field plus 费用 for a buy, minus 费用 for a sell
    TotalAsRead,   // the amount field is the total
};

// Where a broker's statement keeps each value. Fields are counted from 1; 0 means
// the layout has no such field. A new broker is a new entry of `statementLayouts`.
struct StatementLayout {
    QString key;    // the name the command line knows it by
    QString broker; // the name the window shows
    int dateField = 0;
    DateForm dateForm;
    int codeField = 0;
    int nameField = 0;
    int operationField = 0;
    OtherOperation otherOperation = OtherOperation::Skip;
    int quantityField = 0;
    int priceField = 0;
    AmountRule amountRule = AmountRule::TotalAsRead;
    int amountField = 0;
    QList<int> feeFields; // summed into 费用
    int stampDutyField = 0;
    int commissionField = 0;
    int transferFeeField = 0;
    // Fields whose leading minus sign is dropped: quantities and amounts are
    // stored positive whatever the broker's sign convention.
    QList<int> unsignedFields;

    // The last field read: every field up to it must be followed by a tab.
    int lastField() const;
};

// The known layouts, in the order the window offers them.
const QList<StatementLayout>& statementLayouts();

// The layout of that key, or none.
const StatementLayout* findStatementLayout(QStringView key);

} // namespace corvanta::exchange
