#include "FeeController.h"

#include "ParametersPanel.h"
#include "TradePanel.h"
#include "TradeUnits.h"
#include "calc/FeeCalculator.h"
#include "calc/Numbers.h"
#include "model/DirectionCaptions.h"
#include "windows/NumericFieldFilter.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace corvanta::app {

using windows::NumericFieldFilter;
using windows::SelectAllOnEntry;

namespace {

// Why a trade cannot be recorded while the other fee has decimals.
QString otherFeeNotWholeHint()
{
    return u"其他费用只能是整数元：带小数时无法算出总额，不能记录。"_s;
}

void writeIfComputed(QLineEdit* field, const std::optional<QString>& text)
{
    if (text)
        field->setText(*text);
}

} // namespace

FeeController::FeeController(ParametersPanel& parameters, TradePanel& trade, model::TradeForm& form,
                             QObject* parent)
    : QObject(parent), m_parameters(parameters), m_trade(trade), m_form(form)
{
    connect(m_parameters.directionGroup, &QButtonGroup::idToggled, this,
            [this](int id, bool checked) {
                if (checked)
                    onDirectionChanged(Direction(id));
            });
    connect(m_trade.unitGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            onUnitChanged(id);
    });
    connect(m_parameters.marketGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            onMarketChanged(MarketKind(id));
    });
    connect(m_trade.amountUnit, &QComboBox::currentIndexChanged, this,
            &FeeController::onAmountUnitChanged);
    // A priced trade follows every later change of what it was priced from, so
    // the results a record button stores always belong to the inputs shown.
    connect(m_trade.unitGroup, &QButtonGroup::idClicked, this, &FeeController::repriceIfPriced);
    connect(m_parameters.marketGroup, &QButtonGroup::idClicked, this,
            &FeeController::repriceIfPriced);
    connect(m_trade.otherFee, &QLineEdit::textEdited, this, &FeeController::repriceIfPriced);
    connect(m_trade.otherFee, &QLineEdit::textChanged, this, &FeeController::showOtherFeeHint);
    for (QComboBox* rate : {m_parameters.stampRate, m_parameters.commissionRate}) {
        connect(rate->lineEdit(), &QLineEdit::textEdited, this, &FeeController::repriceIfPriced);
        connect(rate, &QComboBox::activated, this, &FeeController::repriceIfPriced);
    }
    // Under the rules by trade date the date chooses the stamp duty and transfer fee.
    connect(m_parameters.tradeDate, &QDateEdit::dateChanged, this, [this] {
        if (m_feeRule.choice == FeeRuleChoice::ByTradeDate)
            repriceIfPriced();
    });
    installKeyRules();
}

void FeeController::setFeeRule(const ledger::FeeRuleSetting& rule)
{
    m_feeRule = rule;
    const bool byDate = rule.choice == FeeRuleChoice::ByTradeDate;
    m_form.setFeesByTradeDate(byDate ? std::optional(rule.commissionMinimum) : std::nullopt);
    Q_EMIT feeRuleChanged();
    if (!byDate) {
        for (QLineEdit* field : {m_trade.yhs, m_trade.yj, m_trade.qtzf})
            field->setToolTip(QString());
    }
    repriceIfPriced();
}

void FeeController::installKeyRules()
{
    new NumericFieldFilter(m_trade.quantity, NumericField::Quantity, m_trade.price);
    new NumericFieldFilter(m_trade.price, NumericField::Price, m_trade.code);
    // A fee is never negative: no minus sign is typed, pasted or committed.
    new NumericFieldFilter(m_trade.otherFee, NumericField::Price);
    new NumericFieldFilter(m_parameters.stampRate, m_parameters.stampRate->lineEdit(),
                           NumericField::Price);
    new NumericFieldFilter(m_parameters.commissionRate, m_parameters.commissionRate->lineEdit(),
                           NumericField::Price);
    new SelectAllOnEntry(m_trade.quantity);
    new SelectAllOnEntry(m_trade.price);
    new SelectAllOnEntry(m_trade.code);
    m_trade.quantity->installEventFilter(this);
    m_trade.price->installEventFilter(this);
    m_parameters.stampRate->installEventFilter(this);
    m_parameters.commissionRate->installEventFilter(this);
}

bool FeeController::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease &&
        (watched == m_trade.quantity || watched == m_trade.price)) {
        computeFees();
    } else if (event->type() == QEvent::FocusOut &&
               (watched == m_parameters.stampRate || watched == m_parameters.commissionRate)) {
        auto* focus = static_cast<QFocusEvent*>(event);
        if (focus->reason() == Qt::TabFocusReason || focus->reason() == Qt::BacktabFocusReason)
            Q_EMIT codeFocusWanted();
    }
    return false;
}

void FeeController::showOtherFeeHint()
{
    QLineEdit* fee = m_trade.otherFee;
    const bool whole = fee->text().isEmpty() || num::parseInteger(fee->text()).has_value();
    fee->setToolTip(whole ? QString() : otherFeeNotWholeHint());
    fee->setStyleSheet(whole ? QString() : u"color: red;"_s);
}

FeeSnapshot FeeController::snapshot() const
{
    return m_form.feeSnapshot();
}

void FeeController::setRecordable(Direction direction, bool recordable)
{
    Pricing next = m_pricing;
    (direction == Direction::Sell ? next.sellRecordable : next.buyRecordable) = recordable;
    if (next == m_pricing)
        return;
    m_pricing = next;
    Q_EMIT pricingChanged();
}

void FeeController::setAmountsPriced(bool priced)
{
    if (m_pricing.amountsPriced == priced)
        return;
    m_pricing.amountsPriced = priced;
    Q_EMIT pricingChanged();
}

void FeeController::withdrawRecording(Direction direction)
{
    setRecordable(direction, false);
}

void FeeController::repriceIfPriced()
{
    if (m_priced)
        computeFees();
}

void FeeController::showRecordedPerShare(const QString& totalText,
                                         const QString& transferAndOtherText, const QString& shares)
{
    const auto total = num::parseNumber(totalText);
    const auto transfer =
        num::parseNumber(transferAndOtherText.isEmpty() ? u"0"_s : transferAndOtherText);
    const auto count = num::parseNumber(shares);
    PerShareTexts perShare;
    if (total && transfer && count)
        perShare = recordedPerShare(snapshot(), *total, *transfer, *count);
    m_trade.mrcb->setText(perShare.costPerShare.value_or(u"0"_s));
    m_trade.bbjg->setText(perShare.breakEven.value_or(u"0"_s));
}

void FeeController::computeFees()
{
    const FeeSnapshot s = snapshot();
    const FeeQuote quote = corvanta::computeFees(s);
    // Results of earlier inputs must not be recorded: the button comes back only
    // when this pricing reaches the total.
    const Direction direction = m_parameters.direction();
    setRecordable(direction, false);
    m_priced = true;
    if (!quote.inputsComplete) {
        setAmountsPriced(false);
        return;
    }
    ensureAmountsInYuan();
    writeIfComputed(m_trade.jyje, quote.tradeAmount);
    writeIfComputed(m_trade.yhs, quote.stampDuty);
    writeIfComputed(m_trade.yj, quote.commission);
    writeIfComputed(m_trade.qtzf, quote.transferAndOther);
    writeIfComputed(m_trade.fyhj, quote.totalFees);
    if (quote.total)
        setRecordable(direction, true);
    writeIfComputed(m_trade.zfze, quote.total);
    writeIfComputed(m_trade.mrcb, quote.costPerShare);
    writeIfComputed(m_trade.bbjg, quote.breakEven);
    if (s.byDate) {
        m_trade.yhs->setToolTip(quote.stampDutyHint);
        m_trade.yj->setToolTip(quote.commissionHint);
        m_trade.qtzf->setToolTip(quote.transferAndOtherHint);
    }
    setAmountsPriced(true);
    Q_EMIT inputsPriced();
}

bool FeeController::amountsInTenThousands() const
{
    return m_trade.amountUnit->currentIndex() == int(AmountUnit::TenThousandYuan);
}

std::optional<double> FeeController::totalInYuan() const
{
    return num::parseNumber(m_form.total());
}

void FeeController::ensureAmountsInYuan()
{
    if (amountsInTenThousands())
        m_trade.amountUnit->setCurrentIndex(int(AmountUnit::Yuan)); // runs the conversion
}

void FeeController::onAmountUnitChanged(int index)
{
    const bool toTenThousands = index == int(AmountUnit::TenThousandYuan);
    const QString unit = toTenThousands ? u"万元"_s : u"元"_s;
    m_trade.jyjeUnit->setText(unit);
    m_trade.fyhjUnit->setText(unit);
    m_trade.zfzeUnit->setText(unit);
    // The form keeps the amounts in 元 (it has taken the new unit already): back
    // in 元 they show exactly as priced, where going through the four decimals of
    // 万元 would lose the fen of the amounts recorded.
    const std::pair<QLineEdit*, model::TradeText> amounts[] = {
        {m_trade.jyje, model::TradeText::TradeAmount},
        {m_trade.fyhj, model::TradeText::TotalFees},
        {m_trade.zfze, model::TradeText::Total}};
    for (const auto& [field, which] : amounts)
        field->setText(m_form.shownText(which));
}

void FeeController::onDirectionChanged(Direction direction)
{
    const bool sell = direction == Direction::Sell;
    const model::DirectionCaptions captions = model::directionCaptions(direction);
    m_trade.quantityCaption->setText(captions.quantity);
    m_trade.priceCaption->setText(captions.price);
    m_trade.totalCaption->setText(captions.total);
    m_parameters.setRateCaption(captions.rate);
    m_trade.mrcbCaption->setText(captions.costPerShare);
    m_trade.bbjgCaption->setText(captions.breakEven);
    m_trade.mrcbCaption->setEnabled(captions.perShareEnabled);
    m_trade.bbjgCaption->setEnabled(captions.perShareEnabled);
    const FeeRates& r = m_savedRates;
    m_trade.otherFee->setText(num::general(sell ? r.sellOtherFee : r.buyOtherFee));
    m_parameters.stampRate->setCurrentText(num::general(sell ? r.sellStampRate : r.buyStampRate));
    m_parameters.commissionRate->setCurrentText(
        num::general(sell ? r.sellCommissionRate : r.buyCommissionRate));
    if (!m_loadingRow)
        setRecordable(sell ? Direction::Buy : Direction::Sell, false);
    // The other side is priced again only by the next key in quantity or price.
    m_priced = false;
}

void FeeController::onUnitChanged(int index)
{
    const bool lots = index == int(QuantityUnit::Lots);
    m_trade.unitSuffix->setText(lots ? u"手"_s : u"股"_s);
    if (!m_loadingRow)
        m_trade.quantity->setFocus(Qt::OtherFocusReason);
}

void FeeController::onMarketChanged(MarketKind market)
{
    const MarketFlags flags = flagsFor(market);
    m_form.setTransferFeeFlag(flags.transferFee);
    m_form.setStampDutyFlag(flags.stampDuty);
    if (!m_quietMarket && !m_loadingRow)
        Q_EMIT codeFocusWanted();
}

void FeeController::setMarketFromPicker(MarketKind market)
{
    if (market == m_parameters.market())
        return;
    m_quietMarket = true;
    m_parameters.setMarket(market);
    m_quietMarket = false;
    repriceIfPriced();
}

void FeeController::setSavedRates(const FeeRates& rates)
{
    m_savedRates = rates;
    m_form.setSavedRates(rates);
}

void FeeController::setStampDutyFlag(int flag)
{
    m_form.setStampDutyFlag(flag);
}

void FeeController::loadDirectionAndMarket(Direction direction, std::optional<MarketKind> market)
{
    m_loadingRow = true;
    m_parameters.setDirection(direction);
    if (market)
        m_parameters.setMarket(*market);
    // A ledger row's quantity is in shares.
    m_trade.unitGroup->button(int(QuantityUnit::Shares))->setChecked(true);
    m_loadingRow = false;
    // The row's results are stored ones, not a pricing of the inputs.
    m_priced = false;
}

void FeeController::clearInputs()
{
    m_trade.quantity->setText(u"0"_s);
    m_trade.price->setText(u"0"_s);
    for (QLineEdit* field : m_trade.resultFields())
        field->setText(u"0"_s);
    m_trade.currentPrice->setText(u"0"_s);
    setRecordable(Direction::Buy, false);
    setRecordable(Direction::Sell, false);
    m_priced = false;
}

void FeeController::showStartRates(const std::optional<QString>& otherFee,
                                   const std::optional<QString>& stampRate,
                                   const std::optional<QString>& commissionRate)
{
    if (otherFee)
        m_trade.otherFee->setText(*otherFee);
    for (auto [box, text] : {std::pair{m_parameters.stampRate, stampRate},
                             std::pair{m_parameters.commissionRate, commissionRate}}) {
        if (text) {
            box->addItem(*text);
            box->setCurrentText(*text);
        }
    }
}

} // namespace corvanta::app
