#include "SellTargetBoxes.h"

#include "CompactBoxes.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

SellTargetBoxes::SellTargetBoxes(Kind kind, QWidget* parent) : QGroupBox(parent)
{
    const bool profit = kind == Kind::Profit;
    setTitle(profit ? u"盈利抛售计算"_s : u"亏损抛售计算"_s);
    amount = compactBox(profit ? u"Edit8"_s : u"Edit11"_s);
    percent = compactBox(profit ? u"Edit9"_s : u"Edit10"_s);
    price = compactBox(profit ? u"Edit7"_s : u"Edit12"_s);
    for (QLineEdit* box : {amount, percent, price})
        box->setText(u"0"_s);

    auto* grid = new QGridLayout(this);
    compactGroupLayout(grid);
    grid->addWidget(new QLabel(profit ? u"盈利"_s : u"亏损"_s), 0, 0);
    grid->addWidget(amount, 0, 1);
    grid->addWidget(new QLabel(profit ? u"元   或盈利"_s : u"元   或亏损"_s), 0, 2);
    grid->addWidget(percent, 0, 3);
    grid->addWidget(new QLabel(u"%"_s), 0, 4);
    grid->addWidget(new QLabel(u"时,即该股价格为"_s), 1, 0, 1, 2);
    grid->addWidget(price, 1, 2);
    grid->addWidget(new QLabel(u"元时抛售"_s), 1, 3, 1, 2);
}

} // namespace corvanta::windows
