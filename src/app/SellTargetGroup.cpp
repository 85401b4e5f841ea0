#include "SellTargetGroup.h"

#include "windows/FieldFit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QLineEdit* box(const QString& name)
{
    auto* edit = new QLineEdit(u"0"_s);
    edit->setObjectName(name);
    windows::keepTextStartInView(edit);
    return edit;
}

} // namespace

SellTargetGroup::SellTargetGroup(Kind kind, QWidget* parent) : QGroupBox(parent), m_kind(kind)
{
    const bool profit = kind == Kind::Profit;
    setTitle(baseTitle());
    amount = box(profit ? u"Edit8"_s : u"Edit11"_s);
    percent = box(profit ? u"Edit9"_s : u"Edit10"_s);
    price = box(profit ? u"Edit7"_s : u"Edit12"_s);

    // One pixel smaller than the rest of the window, and each line laid out on its
    // own, so that an amount of six digits and a price of four show in full.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 0, 4, 2);
    rows->setSpacing(2);
    auto* first = new QHBoxLayout;
    first->setSpacing(2);
    first->addWidget(new QLabel(profit ? u"当利润金额为"_s : u"当亏损金额为"_s));
    first->addWidget(amount, 1);
    first->addWidget(new QLabel(profit ? u"元   或盈利"_s : u"元   或亏损"_s));
    first->addWidget(percent);
    first->addWidget(new QLabel(u"%"_s));
    rows->addLayout(first);
    auto* second = new QHBoxLayout;
    second->setSpacing(2);
    second->addWidget(new QLabel(u"时,即该股价格为"_s));
    second->addWidget(price);
    second->addWidget(new QLabel(u"元时抛售"_s));
    second->addStretch(1);
    rows->addLayout(second);
    percent->setFixedWidth(windows::widthToShow(percent, u"99.99"));
    price->setFixedWidth(windows::widthToShow(price, u"12345.678"));
}

QString SellTargetGroup::baseTitle() const
{
    return m_kind == Kind::Profit ? u"盈利抛售计算"_s : u"亏损抛售计算"_s;
}

} // namespace corvanta::app
