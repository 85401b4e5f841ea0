#include "StatementLayout.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace corvanta::exchange {

namespace {

StatementLayout sczq()
{
    StatementLayout layout;
    layout.key = u"sczq"_s;
    layout.broker = u"首创证券"_s;
    layout.dateField = 1;
    layout.dateForm = {10, 0, 5, 8}; // 2007-05-21, 2007/05/21
    layout.codeField = 3;
    layout.nameField = 4;
    layout.operationField = 5;
    layout.otherOperation = OtherOperation::Skip;
    layout.quantityField = 6;
    layout.priceField = 8;
    layout.amountRule = AmountRule::GrossWithFees;
    layout.amountField = 9;
    layout.feeFields = {10, 12, 13, 14}; // field 10 is a further fee, counted in 费用 only
    layout.commissionField = 12;
    layout.stampDutyField = 13;
    layout.transferFeeField = 14;
    layout.unsignedFields = {6, 9};
    return layout;
}

StatementLayout cdzq()
{
    StatementLayout layout;
    layout.key = u"cdzq"_s;
    layout.broker = u"财达证券"_s;
    layout.dateField = 1;
    layout.dateForm = {8, 0, 4, 6}; // 20070521
    layout.codeField = 2;
    layout.nameField = 3;
    layout.operationField = 4;
    layout.otherOperation = OtherOperation::Sell;
    layout.quantityField = 5;
    layout.priceField = 6;
    layout.amountRule = AmountRule::TotalAsRead;
    layout.amountField = 12;
    layout.feeFields = {9, 10, 11};
    layout.commissionField = 9;
    layout.stampDutyField = 10;
    layout.transferFeeField = 11;
    layout.unsignedFields = {5, 12};
    return layout;
}

} // namespace

int StatementLayout::lastField() const
{
    int last = std::max({dateField, codeField, nameField, operationField, quantityField, priceField,
                         amountField, stampDutyField, commissionField, transferFeeField});
    for (int field : feeFields)
        last = std::max(last, field);
    return last;
}

const QList<StatementLayout>& statementLayouts()
{
    static const QList<StatementLayout> layouts = {sczq(), cdzq()};
    return layouts;
}

const StatementLayout* findStatementLayout(QStringView key)
{
    for (const StatementLayout& layout : statementLayouts()) {
        if (layout.key == key)
            return &layout;
    }
    return nullptr;
}

} // namespace corvanta::exchange
