#include "TradeForm.h"

namespace corvanta::model {

bool isMoneyAmount(TradeText text)
{
    return text == TradeText::TradeAmount || text == TradeText::TotalFees ||
           text == TradeText::Total;
}

TradeForm::TradeForm(QObject* parent) : QObject(parent) {}

template <typename T> void TradeForm::assign(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT changed();
}

void TradeForm::setText(TradeText which, const QString& value)
{
    QString& field = m_texts[std::size_t(which)];
    if (field == value)
        return;
    field = value;
    Q_EMIT textChanged(which);
    Q_EMIT changed();
}

QString TradeForm::shownText(TradeText which) const
{
    if (!isMoneyAmount(which))
        return text(which);
    return MoneyAmount::fromYuan(text(which)).shown(m_amountUnit);
}

void TradeForm::setShownText(TradeText which, const QString& shown)
{
    // A 万元 text that still shows the amount kept stands for it exactly.
    if (shown == shownText(which))
        return;
    setText(which,
            isMoneyAmount(which) ? MoneyAmount::fromShown(shown, m_amountUnit).yuan() : shown);
}

void TradeForm::setDirection(Direction direction)
{
    assign(m_direction, direction);
}

void TradeForm::setMarket(MarketKind market)
{
    assign(m_market, market);
}

void TradeForm::setQuantityUnit(QuantityUnit unit)
{
    assign(m_quantityUnit, unit);
}

void TradeForm::setAmountUnit(AmountUnit unit)
{
    assign(m_amountUnit, unit);
}

void TradeForm::setTradeDate(QDate date)
{
    assign(m_tradeDate, date);
}

void TradeForm::setTransferFeeFlag(int flag)
{
    assign(m_transferFeeFlag, flag);
}

void TradeForm::setStampDutyFlag(int flag)
{
    assign(m_stampDutyFlag, flag);
}

void TradeForm::setSavedRates(const FeeRates& rates)
{
    assign(m_savedRates, rates);
}

void TradeForm::setFeesByTradeDate(std::optional<double> commissionMinimum)
{
    assign(m_commissionMinimum, commissionMinimum);
}

FeeSnapshot TradeForm::feeSnapshot() const
{
    FeeSnapshot s;
    s.quantity = quantity();
    s.price = price();
    s.stampRate = text(TradeText::StampRate);
    s.commissionRate = text(TradeText::CommissionRate);
    s.otherFee = text(TradeText::OtherFee);
    s.direction = m_direction;
    s.unitMultiplier = quantityInLots() ? sharesPerLot : 1;
    s.transferFeeFlag = m_transferFeeFlag;
    s.stampDutyFlag = m_stampDutyFlag;
    s.saved = m_savedRates;
    if (m_commissionMinimum)
        s.byDate = ByDateTerms{m_tradeDate, m_market, *m_commissionMinimum};
    return s;
}

void TradeForm::setSellTargetInputs(bool prices, bool amounts)
{
    const bool isPrice[] = {false, false, true, false, false, true};
    std::array<bool, 6> open{};
    for (std::size_t box = 0; box < open.size(); ++box)
        open[box] = isPrice[box] ? prices : amounts;
    assign(m_targetsOpen, open);
}

void TradeForm::setSellTargetEnabled(SellTargetBox box, bool enabled)
{
    std::array<bool, 6> open = m_targetsOpen;
    open[std::size_t(box)] = enabled;
    assign(m_targetsOpen, open);
}

} // namespace corvanta::model
