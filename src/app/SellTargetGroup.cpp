#include "SellTargetGroup.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QLineEdit* box(const QString& name, bool enabled)
{
    auto* edit = new QLineEdit(u"0"_s);
    edit->setObjectName(name);
    edit->setEnabled(enabled);
    edit->setMaximumWidth(64);
    return edit;
}

} // namespace

SellTargetGroup::SellTargetGroup(Kind kind, QWidget* parent) : QGroupBox(parent), m_kind(kind)
{
    const bool profit = kind == Kind::Profit;
    setTitle(baseTitle());
    amount = box(profit ? u"Edit8"_s : u"Edit11"_s, false);
    percent = box(profit ? u"Edit9"_s : u"Edit10"_s, false);
    price = box(profit ? u"Edit7"_s : u"Edit12"_s, true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 0, 4, 2);
    grid->setSpacing(2);
    grid->addWidget(new QLabel(profit ? u"当利润金额为"_s : u"当亏损金额为"_s), 0, 0);
    grid->addWidget(amount, 0, 1);
    grid->addWidget(new QLabel(profit ? u"元   或盈利"_s : u"元   或亏损"_s), 0, 2);
    grid->addWidget(percent, 0, 3);
    grid->addWidget(new QLabel(u"%"_s), 0, 4);
    grid->addWidget(new QLabel(u"时,即该股价格为"_s), 1, 0);
    grid->addWidget(price, 1, 1);
    grid->addWidget(new QLabel(u"元时抛售"_s), 1, 2, 1, 3);
}

QString SellTargetGroup::baseTitle() const
{
    return m_kind == Kind::Profit ? u"盈利抛售计算"_s : u"亏损抛售计算"_s;
}

} // namespace corvanta::app
