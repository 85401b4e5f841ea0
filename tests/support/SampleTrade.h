#pragma once

#include "model/TradeForm.h"

#include <QHash>
#include <QStringList>

namespace corvanta::test {

// A real trade form with the main window's part in answering its requests played
// by the test: a chosen stock becomes current (its name looked up in `names` when
// that list is given), quote requests are counted, and emptying the trade sets
// quantity, price, total and current price to "0" as 清空 does.
class SampleTrade {
public:
    // A priced buy unless `priced` is false: then an empty form.
    explicit SampleTrade(bool priced = true)
    {
        form.setTradeDate(QDate(2026, 12, 8));
        if (priced)
            fillPricedBuy();
        QObject::connect(&form, &model::TradeForm::stockChosen, &form, [this](const QString& c) {
            chosen << c;
            form.setText(model::TradeText::StockCode, c);
            if (!names.isEmpty())
                form.setText(model::TradeText::StockName, names.value(c));
        });
        QObject::connect(&form, &model::TradeForm::quoteWanted, &form, [this] { ++quoteRequests; });
        QObject::connect(&form, &model::TradeForm::clearWanted, &form, [this] {
            for (auto which : {model::TradeText::Quantity, model::TradeText::Price,
                               model::TradeText::Total, model::TradeText::CurrentPrice})
                form.setText(which, QStringLiteral("0"));
            ++clears;
        });
    }
    SampleTrade(const SampleTrade&) = delete;
    SampleTrade& operator=(const SampleTrade&) = delete;

    void set(model::TradeText which, const QString& text) { form.setText(which, text); }

    // A priced buy of 1000 shares at 10.00 on Shenzhen, rates 1 ‰ and 3 ‰ on both
    // sides, other fee 5, total 10035.00, transfer and other 5.00, with a quote.
    void fillPricedBuy()
    {
        using model::TradeText;
        const std::pair<TradeText, const char*> texts[] = {{TradeText::StockCode, "000001"},
                                                           {TradeText::StockName, "平安银行"},
                                                           {TradeText::Quantity, "1000"},
                                                           {TradeText::Price, "10.00"},
                                                           {TradeText::StampRate, "1"},
                                                           {TradeText::CommissionRate, "3"},
                                                           {TradeText::OtherFee, "5"},
                                                           {TradeText::TradeAmount, "10000.00"},
                                                           {TradeText::TotalFees, "35.00"},
                                                           {TradeText::Total, "10035.00"},
                                                           {TradeText::TransferAndOther, "5.00"},
                                                           {TradeText::CostPerShare, "10.035"},
                                                           {TradeText::BreakEven, "10.080"},
                                                           {TradeText::CurrentPrice, "10.20"},
                                                           {TradeText::TodayOpen, "10.00"},
                                                           {TradeText::LastClose, "9.90"},
                                                           {TradeText::BestBid, "10.19"},
                                                           {TradeText::BestAsk, "10.21"}};
        for (const auto& [which, text] : texts)
            form.setText(which, QString::fromUtf8(text));
        form.setSavedRates({5, 1, 3, 5, 1, 3});
    }

    // Makes a stock current with a quote.
    void quote(const QString& code, const QString& name, const QString& current)
    {
        using model::TradeText;
        form.setText(TradeText::StockCode, code);
        form.setText(TradeText::StockName, name);
        form.setText(TradeText::CurrentPrice, current);
        form.setText(TradeText::TodayOpen, QStringLiteral("10.20"));
        form.setText(TradeText::LastClose, QStringLiteral("10.10"));
        form.setText(TradeText::BestBid, QStringLiteral("1200"));
        form.setText(TradeText::BestAsk, QStringLiteral("800"));
    }

    model::TradeForm form;
    QHash<QString, QString> names;
    QStringList chosen;
    int quoteRequests = 0;
    int clears = 0;
};

} // namespace corvanta::test
