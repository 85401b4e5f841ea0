#include "ParametersPanel.h"

#include "calc/StatutoryFees.h"
#include "windows/FieldFit.h"
#include "windows/LineBreaks.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace corvanta::app {

namespace {

QComboBox* rateInput(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->addItems({u"6"_s, u"5"_s, u"4"_s, u"3"_s, u"2"_s, u"1"_s, u"0"_s});
    box->setCurrentText(u"3"_s);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QRadioButton* addRadio(QButtonGroup* group, QLayout* layout, const QString& caption, int id)
{
    auto* radio = new QRadioButton(caption);
    group->addButton(radio, id);
    layout->addWidget(radio);
    return radio;
}

} // namespace

ParametersPanel::ParametersPanel(QWidget* parent) : QGroupBox(u"参数设置"_s, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setSpacing(2);

    auto* opacityRow = new QHBoxLayout;
    opacityRow->addWidget(new QLabel(u"透明度"_s));
    opacitySlider = new QSlider(Qt::Horizontal);
    opacitySlider->setRange(0, 155);
    opacitySlider->setToolTip(u"拖动滑块调节程序的透明度"_s);
    opacityRow->addWidget(opacitySlider);
    grid->addLayout(opacityRow, 0, 0);

    auto* dateBox = new QGroupBox(u"交易日期(&X)"_s);
    auto* dateLayout = new QHBoxLayout(dateBox);
    dateLayout->setContentsMargins(2, 0, 2, 0);
    tradeDate = new QDateEdit(QDate::currentDate());
    tradeDate->setDisplayFormat(u"yyyy-MM-dd"_s);
    tradeDate->setCalendarPopup(true);
    // Month and day names in Chinese; the numbers elsewhere keep the program's
    // own locale-independent formats.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    tradeDate->setLocale(chinese);
    tradeDate->calendarWidget()->setLocale(chinese);
    tradeDate->setToolTip(
        windows::lineBreaks(u"买卖股票日期选择\r2007年5月30日前印花税为0.1%\r以后为0.3%"_s));
    dateLayout->addWidget(tradeDate);
    grid->addWidget(dateBox, 1, 0);

    rateBox = new QGroupBox(u"买入税率"_s);
    auto* rates = new QGridLayout(rateBox);
    rates->setContentsMargins(2, 0, 2, 0);
    rates->setSpacing(1);
    stampRate = rateInput(rateBox);
    commissionRate = rateInput(rateBox);
    rates->addWidget(new QLabel(u"印花税率"_s), 0, 0);
    rates->addWidget(stampRate, 0, 1);
    rates->addWidget(new QLabel(u"‰"_s), 0, 2);
    rates->addWidget(new QLabel(u"佣金费率"_s), 1, 0);
    rates->addWidget(commissionRate, 1, 1);
    rates->addWidget(new QLabel(u"‰"_s), 1, 2);
    feeRule = new QComboBox(rateBox);
    for (FeeRuleChoice choice : {FeeRuleChoice::SavedRates, FeeRuleChoice::ByTradeDate})
        feeRule->addItem(feeRuleChoiceText(choice), int(choice));
    feeRule->setToolTip(
        u"按设置的费率：印花税和过户费按上面的费率计算\n"
        "按交易日期的法定规则：印花税和过户费按交易日期当时的规定计算，佣金按佣金费率和最低佣金"_s);
    feeRule->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    feeRule->setMinimumContentsLength(4);
    rates->addWidget(feeRule, 2, 0, 1, 3);
    grid->addWidget(rateBox, 2, 0);
    for (QComboBox* rate : {stampRate, commissionRate}) {
        windows::keepTextStartInView(rate->lineEdit());
        rate->setMinimumWidth(windows::comboWidthToShow(rate, u"0.25"));
    }

    marketBox = new QGroupBox(u"证券公司"_s);
    auto* markets = new QVBoxLayout(marketBox);
    markets->setContentsMargins(2, 0, 2, 0);
    markets->setSpacing(0);
    marketGroup = new QButtonGroup(this);
    addRadio(marketGroup, markets, u"深圳A股(&Y)"_s, int(MarketKind::ShenzhenA))->setChecked(true);
    addRadio(marketGroup, markets, u"上海A股(&H)"_s, int(MarketKind::ShanghaiA));
    addRadio(marketGroup, markets, u"权证或基金(&J)"_s, int(MarketKind::WarrantOrFund));
    grid->addWidget(marketBox, 0, 1, 2, 1);

    directionBox = new QGroupBox(u"交易状态"_s);
    directionBox->setToolTip(u"当卖买为不可用时,请点取消按钮"_s);
    auto* directions = new QVBoxLayout(directionBox);
    directions->setContentsMargins(2, 0, 2, 0);
    directions->setSpacing(0);
    directionGroup = new QButtonGroup(this);
    addRadio(directionGroup, directions, u"买　入(&C)"_s, int(Direction::Buy))->setChecked(true);
    addRadio(directionGroup, directions, u"卖　出(&M)"_s, int(Direction::Sell));
    grid->addWidget(directionBox, 2, 1);
}

MarketKind ParametersPanel::market() const
{
    return MarketKind(marketGroup->checkedId());
}

void ParametersPanel::setMarket(MarketKind market)
{
    marketGroup->button(int(market))->setChecked(true);
}

Direction ParametersPanel::direction() const
{
    return Direction(directionGroup->checkedId());
}

void ParametersPanel::setDirection(Direction direction)
{
    directionGroup->button(int(direction))->setChecked(true);
}

void ParametersPanel::setRateCaption(const QString& caption)
{
    rateBox->setTitle(caption);
}

} // namespace corvanta::app
