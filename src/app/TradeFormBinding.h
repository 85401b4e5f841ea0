#pragma once

#include "model/TradeForm.h"

#include <QObject>

#include <array>

class QLineEdit;

namespace corvanta::windows {
class StockPicker;
}

namespace corvanta::app {

class LedgerController;
class ParametersPanel;
class TradePanel;

// Keeps the main window's trade panels and its trade form in step both ways:
// every change of a panel, typed or written by the window's controllers, is
// written to the form; a form change made elsewhere (another window setting the
// price) shows in the panel. It must be built before the controllers that read
// the form in their own handlers of the panels' signals, so the form is up to
// date when they run.
class TradeFormBinding : public QObject {
    Q_OBJECT
public:
    TradeFormBinding(model::TradeForm& form, ParametersPanel& parameters, TradePanel& trade,
                     QObject* parent = nullptr);

    // The stock name follows the picker's caption, and the other windows'
    // requests are answered with the picker and the ledger's controller.
    void serveRequests(windows::StockPicker& picker, LedgerController& ledger);

private:
    // Reads the choices: direction, market, units and trade date.
    void readPanel();
    void readText(model::TradeText which);
    void showText(model::TradeText which);
    void showChoices();
    void chooseStock(windows::StockPicker& picker, const QString& code);
    void clearTrade(LedgerController& ledger);

    model::TradeForm& m_form;
    ParametersPanel& m_parameters;
    TradePanel& m_trade;
    // The input showing each text; none for the stock name, the picker's caption.
    std::array<QLineEdit*, model::tradeTextCount> m_fields{};
    bool m_reading = false; // a panel change is being written to the form
    bool m_showing = false; // a form change is being written to the panel
};

} // namespace corvanta::app
