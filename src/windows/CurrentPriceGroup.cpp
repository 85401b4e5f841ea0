#include "CurrentPriceGroup.h"

#include "CompactBoxes.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

CurrentPriceGroup::CurrentPriceGroup(QWidget* parent) : QGroupBox(parent)
{
    price = compactBox(u"syl"_s);
    price->setToolTip(u"输入当前价格,计算盈亏金额"_s);
    gain = new QLabel(u"盈利金额"_s);
    gain->setObjectName(u"Label58"_s);
    gain->setStyleSheet(u"color: red;"_s);
    auto* grid = new QGridLayout(this);
    compactGroupLayout(grid);
    grid->addWidget(new QLabel(u"时价"_s), 0, 0);
    grid->addWidget(price, 0, 1);
    grid->addWidget(new QLabel(u"元"_s), 0, 2);
    grid->addWidget(gain, 0, 3);
    grid->setColumnStretch(3, 1);
}

BuyBackGroup::BuyBackGroup(QWidget* parent) : QGroupBox(parent)
{
    setTitle(u"指定价位"_s);
    price = compactBox(u"Edit1"_s);
    price->setToolTip(u"输入一个指定价位"_s);
    price->setEnabled(false);
    gain = new QLabel;
    gain->setObjectName(u"Label4"_s);
    gain->setStyleSheet(u"color: red;"_s);
    auto* grid = new QGridLayout(this);
    compactGroupLayout(grid);
    grid->addWidget(price, 0, 0);
    grid->addWidget(gain, 0, 1);
    grid->setColumnStretch(1, 1);
}

} // namespace corvanta::windows
