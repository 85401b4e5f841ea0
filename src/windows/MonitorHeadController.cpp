#include "MonitorHeadController.h"

#include "MonitorHeadPanel.h"
#include "model/TradeForm.h"

#include "calc/BuyBackTexts.h"
#include "calc/SellTargets.h"
#include "report/MonitorTexts.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

void setColour(QLabel* label, bool loss)
{
    label->setStyleSheet(loss ? u"color: blue;"_s : u"color: red;"_s);
}

} // namespace

MonitorHeadController::MonitorHeadController(model::TradeForm& trade, MonitorHeadPanel& head,
                                             MonitorBuyBackPanel& buyBack, QObject* parent)
    : QObject(parent), m_trade(trade), m_head(head), m_buyBack(buyBack)
{
    connect(head.quantity, &QLineEdit::textEdited, this, [this] { computeTotals(true); });
    connect(head.price, &QLineEdit::textEdited, this, [this] { computeTotals(false); });
    connect(head.current, &QLineEdit::textEdited, this, &MonitorHeadController::computeGain);
    connect(buyBack.specified, &QLineEdit::textEdited, this,
            &MonitorHeadController::computeBuyBack);
}

FeeSnapshot MonitorHeadController::snapshot() const
{
    FeeSnapshot s = m_trade.feeSnapshot();
    s.quantity = m_head.quantity->text();
    s.price = m_head.price->text();
    return s;
}

void MonitorHeadController::computeTotals(bool fromQuantity)
{
    if (fromQuantity)
        m_trade.setQuantity(m_head.quantity->text());
    else
        m_trade.setPrice(m_head.price->text());
    FeeSnapshot s = snapshot();
    s.direction = Direction::Buy;
    if (const auto totals = report::monitorTotals(s)) {
        m_head.fees->setText(totals->fees);
        m_head.paid->setText(totals->paid);
    }
}

void MonitorHeadController::showGain(bool withYuan)
{
    const auto gain =
        report::monitorGain(snapshot(), m_head.current->text(), m_head.paid->text(), withYuan);
    if (!gain)
        return;
    m_head.gain->setText(gain->text);
    setColour(m_head.gain, gain->loss);
    m_buyBack.specified->setEnabled(true);
}

void MonitorHeadController::computeGain()
{
    if (!currentGainWillRun(m_head.current->text(), m_head.paid->text()))
        return;
    showGain(true);
}

void MonitorHeadController::computeBuyBack()
{
    const QString current = m_head.current->text();
    const QString specified = m_buyBack.specified->text();
    if (!currentGainWillRun(current, m_head.paid->text()) || specified.isEmpty())
        return;
    const auto gain = buyBackGain(snapshot(), current, specified);
    if (!gain)
        return;
    m_buyBack.gain->setText(gain->text);
    setColour(m_buyBack.gain, gain->loss);
    const BuyBackTexts texts = buyBackTexts(current, specified, gain->text);
    m_buyBack.firstIndex->setText(texts.explanation.section(u'\n', 0, 0));
    m_buyBack.secondIndex->setText(texts.explanation.section(u'\n', 1));
    m_buyBack.specified->setToolTip(texts.hint);
    Q_EMIT indexLabelsChanged();
}

void MonitorHeadController::tick(bool started)
{
    if (!currentGainWillRun(m_head.current->text(), m_head.paid->text()))
        return;
    showGain(false);
    m_head.progress->setText(report::nextProgressMark(m_head.progress->text(), started));
}

} // namespace corvanta::windows
