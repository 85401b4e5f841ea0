#include "TradeFormBinding.h"

#include "LedgerController.h"
#include "ParametersPanel.h"
#include "TradePanel.h"
#include "windows/StockPicker.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

#include <utility>

using namespace Qt::StringLiterals;

namespace corvanta::app {

using model::TradeText;

TradeFormBinding::TradeFormBinding(model::TradeForm& form, ParametersPanel& parameters,
                                   TradePanel& trade, QObject* parent)
    : QObject(parent), m_form(form), m_parameters(parameters), m_trade(trade)
{
    const std::pair<TradeText, QLineEdit*> fields[] = {
        {TradeText::StockCode, trade.code},
        {TradeText::Quantity, trade.quantity},
        {TradeText::Price, trade.price},
        {TradeText::StampRate, parameters.stampRate->lineEdit()},
        {TradeText::CommissionRate, parameters.commissionRate->lineEdit()},
        {TradeText::OtherFee, trade.otherFee},
        {TradeText::TradeAmount, trade.jyje},
        {TradeText::StampDuty, trade.yhs},
        {TradeText::Commission, trade.yj},
        {TradeText::TransferAndOther, trade.qtzf},
        {TradeText::TotalFees, trade.fyhj},
        {TradeText::Total, trade.zfze},
        {TradeText::CostPerShare, trade.mrcb},
        {TradeText::BreakEven, trade.bbjg},
        {TradeText::CurrentPrice, trade.currentPrice},
        {TradeText::TodayOpen, trade.todayOpen},
        {TradeText::LastClose, trade.lastClose},
        {TradeText::BestBid, trade.bestBid},
        {TradeText::BestAsk, trade.bestAsk},
    };
    for (const auto& [which, field] : fields) {
        m_fields[std::size_t(which)] = field;
        // A typed key announces textEdited before textChanged: handlers of the
        // edit read the form too.
        connect(field, &QLineEdit::textEdited, this, [this, which] { readText(which); });
        connect(field, &QLineEdit::textChanged, this, [this, which] { readText(which); });
    }
    // The choices; the amount unit is read before the amounts the unit switch
    // rewrites, so their new texts are taken in the new unit (and the old texts
    // are never read in it).
    connect(trade.amountUnit, &QComboBox::currentIndexChanged, this, &TradeFormBinding::readPanel);
    connect(parameters.directionGroup, &QButtonGroup::idToggled, this,
            &TradeFormBinding::readPanel);
    connect(parameters.marketGroup, &QButtonGroup::idToggled, this, &TradeFormBinding::readPanel);
    connect(trade.unitGroup, &QButtonGroup::idToggled, this, &TradeFormBinding::readPanel);
    connect(parameters.tradeDate, &QDateEdit::dateChanged, this, &TradeFormBinding::readPanel);

    connect(&form, &model::TradeForm::textChanged, this, &TradeFormBinding::showText);
    connect(&form, &model::TradeForm::changed, this, &TradeFormBinding::showChoices);
    readPanel();
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i])
            readText(TradeText(i));
    }
}

void TradeFormBinding::readPanel()
{
    if (m_showing)
        return;
    m_reading = true;
    m_form.setDirection(m_parameters.direction());
    m_form.setMarket(m_parameters.market());
    m_form.setQuantityUnit(m_trade.unitGroup->checkedId() == int(QuantityUnit::Lots)
                               ? QuantityUnit::Lots
                               : QuantityUnit::Shares);
    m_form.setAmountUnit(AmountUnit(m_trade.amountUnit->currentIndex()));
    m_form.setTradeDate(m_parameters.tradeDate->date());
    m_reading = false;
}

void TradeFormBinding::readText(TradeText which)
{
    if (m_showing)
        return;
    m_reading = true;
    m_form.setShownText(which, m_fields[std::size_t(which)]->text());
    m_reading = false;
}

void TradeFormBinding::showText(TradeText which)
{
    QLineEdit* field = m_fields[std::size_t(which)];
    if (m_reading || !field)
        return;
    const QString shown = m_form.shownText(which);
    if (field->text() == shown)
        return;
    m_showing = true;
    field->setText(shown);
    m_showing = false;
}

void TradeFormBinding::showChoices()
{
    if (m_reading)
        return;
    m_showing = true;
    if (m_parameters.direction() != m_form.direction())
        m_parameters.setDirection(m_form.direction());
    if (m_parameters.market() != m_form.market())
        m_parameters.setMarket(m_form.market());
    if (QAbstractButton* unit = m_trade.unitGroup->button(int(m_form.quantityUnit()));
        unit && !unit->isChecked())
        unit->setChecked(true);
    if (m_trade.amountUnit->currentIndex() != int(m_form.amountUnit()))
        m_trade.amountUnit->setCurrentIndex(int(m_form.amountUnit()));
    if (m_parameters.tradeDate->date() != m_form.tradeDate())
        m_parameters.tradeDate->setDate(m_form.tradeDate());
    m_showing = false;
}

void TradeFormBinding::serveRequests(windows::StockPicker& picker, LedgerController& ledger)
{
    m_form.setText(TradeText::StockName, picker.caption());
    connect(&picker, &windows::StockPicker::captionChanged, this,
            [this](const QString& name) { m_form.setText(TradeText::StockName, name); });
    connect(&m_form, &model::TradeForm::stockChosen, this,
            [this, &picker](const QString& code) { chooseStock(picker, code); });
    connect(&m_form, &model::TradeForm::quoteWanted, this,
            [this, &picker] { Q_EMIT picker.quoteWanted(m_form.stockCode()); });
    connect(&m_form, &model::TradeForm::clearWanted, this, [this, &ledger] { clearTrade(ledger); });
}

void TradeFormBinding::chooseStock(windows::StockPicker& picker, const QString& code)
{
    // The steps of typing the code and leaving the input.
    m_trade.code->setText(code);
    picker.inferMarket(code);
    picker.lookupStock(code);
    picker.completeCode();
}

void TradeFormBinding::clearTrade(LedgerController& ledger)
{
    ledger.clearTradeInputs();
    // The gain shown was the cleared trade's.
    m_trade.gainLabel->setText(u"盈利金额"_s);
    m_trade.gainLabel->setStyleSheet(QString());
}

} // namespace corvanta::app
