#pragma once

#include "calc/FeeRates.h"
#include "calc/FeeRules.h"
#include "calc/MarketKind.h"
#include "ledger/FeeRuleSetting.h"
#include "model/TradeForm.h"

#include <QObject>

#include <optional>

namespace corvanta::app {

class ParametersPanel;
class TradePanel;

// Prices the trade on every key release in quantity or price and keeps the
// captions, rates and flags of the direction, unit, market and amount-unit
// choices in step with them. It prices what the trade form holds, and writes the
// form's market flags, saved fee rates and fee rule (the rates written only by
// the settings).
class FeeController : public QObject {
    Q_OBJECT
public:
    FeeController(ParametersPanel& parameters, TradePanel& trade, model::TradeForm& form,
                  QObject* parent = nullptr);

    // Prices the trade from the inputs and writes the results that were computed.
    void computeFees();
    // Shows amounts in 元 again when they are shown in 万元.
    void ensureAmountsInYuan();
    bool amountsInTenThousands() const;
    // The total paid or received in 元, whichever unit shows it; none when it is
    // not a number.
    std::optional<double> totalInYuan() const;
    // What the shared fee operations read of the inputs.
    FeeSnapshot snapshot() const;
    // The saved fee rates of both sides, as loaded or last saved.
    const FeeRates& savedRates() const { return m_savedRates; }
    void setSavedRates(const FeeRates& rates);
    // How stamp duty and transfer fee are found and the commission minimum; set by
    // the fee-rule choice. A priced trade is priced again.
    const ledger::FeeRuleSetting& feeRule() const { return m_feeRule; }
    void setFeeRule(const ledger::FeeRuleSetting& rule);
    // Resets quantity, price and results to "0"; neither side can be recorded.
    void clearInputs();
    // Which side the last pricing lets the user record, and whether its amounts are
    // priced (and so may be shown in 万元).
    struct Pricing {
        bool buyRecordable = false;
        bool sellRecordable = false;
        bool amountsPriced = false;
        bool operator==(const Pricing&) const = default;
    };
    const Pricing& pricing() const { return m_pricing; }
    // The inputs no longer hold a pricing of this side (it is being recorded, or a
    // ledger row was loaded in its place).
    void withdrawRecording(Direction direction);
    // Direction and market changed, and the unit set to shares, while loading a
    // ledger row: the handlers do not move the focus or touch the record buttons.
    void loadDirectionAndMarket(Direction direction, std::optional<MarketKind> market);
    // A recorded trade's cost per share and break-even price, from its stored
    // total, transfer-and-other amount and shares, with the rates now shown; a text
    // that does not convert shows 0, never the figures of another trade.
    void showRecordedPerShare(const QString& totalText, const QString& transferAndOtherText,
                              const QString& shares);
    // The market as the stock picker infers it while a code is typed.
    void setMarketFromPicker(MarketKind market);
    void setStampDutyFlag(int flag);
    // The saved buy-side texts shown in the fee inputs at start; a saved rate is
    // also appended to its drop-down list.
    void showStartRates(const std::optional<QString>& otherFee,
                        const std::optional<QString>& stampRate,
                        const std::optional<QString>& commissionRate);

Q_SIGNALS:
    // A pricing ran with all its inputs filled in.
    void inputsPriced();
    // `pricing()` changed.
    void pricingChanged();
    // `feeRule()` was set.
    void feeRuleChanged();
    // A key moved the focus to the code input (Enter in the price, leaving a rate).
    void codeFocusWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setRecordable(Direction direction, bool recordable);
    void setAmountsPriced(bool priced);
    void repriceIfPriced();
    void onDirectionChanged(Direction direction);
    void onUnitChanged(int index);
    void onMarketChanged(MarketKind market);
    void onAmountUnitChanged(int index);
    void installKeyRules();
    void showOtherFeeHint();

    ParametersPanel& m_parameters;
    TradePanel& m_trade;
    model::TradeForm& m_form;
    FeeRates m_savedRates;
    Pricing m_pricing;
    ledger::FeeRuleSetting m_feeRule;
    bool m_loadingRow = false;  // a ledger row is being loaded back
    bool m_quietMarket = false; // the picker or a row load sets the market
    bool m_priced = false;      // the inputs on show were priced: their changes price again
};

} // namespace corvanta::app
