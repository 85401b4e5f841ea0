#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QTableView;

namespace corvanta::model {
class TradeForm;
}
namespace corvanta::windows {

class BuyBackController;
class BuyBackGroup;
class CurrentGainController;
class CurrentPriceGroup;
class DetailRefreshController;
class PriceLadderModel;
class ProfitLossMenu;
class SellTargetBinder;
class SellTargetBoxes;

// "盈亏明细表窗口": the price ladder of the main window's priced holding with its
// header, copies of the sell-target and current-price calculators, the buy-back
// calculator and a periodic refresh. It reads and writes the trade only through
// the trade form; hiding the main window is asked for by signal.
class ProfitLossWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProfitLossWindow(model::TradeForm& trade, QWidget* parent = nullptr);
    ~ProfitLossWindow() override;

    static constexpr int fullHeight = 597;
    static constexpr int foldedHeight = 288;

    // Shows the window centred on `anchor` (the main window's frame); every showing
    // rebuilds the header and the ladder from the trade.
    void open(const QRect& anchor);

    ProfitLossMenu* popupMenu() const { return m_menu; }

    // The ladder as text on the clipboard.
    void copyLadder();
    // Folds the window to its calculators and first ladder rows, or unfolds it.
    void toggleFold();

Q_SIGNALS:
    void hideMainWindowRequested();
    void showMainWindowRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildHeaderGroup();
    QWidget* buildLadderGroup();
    void wireMenu();
    void rebuild();
    void refresh();
    void rebuildHeader();
    void rebuildLadder();
    void fitColumns();
    void setFolded(bool folded);

    model::TradeForm& m_trade;
    QGroupBox* m_headerGroup;     // grp2: the refresh marker is its caption
    QLabel* m_header;             // Label1
    QLabel* m_ladderNote;         // why the last ladder stopped early
    QGroupBox* m_ladderGroup;     // grp1
    CurrentPriceGroup* m_current; // syl, Label58
    BuyBackGroup* m_buyBack;      // Edit1, Label4
    SellTargetBoxes* m_profit;    // Edit8, Edit9, Edit7
    SellTargetBoxes* m_loss;      // Edit11, Edit10, Edit12
    QTableView* m_grid;
    PriceLadderModel* m_model;
    ProfitLossMenu* m_menu;
    SellTargetBinder* m_targets;
    CurrentGainController* m_gain;
    BuyBackController* m_buyBackGain;
    DetailRefreshController* m_refresh;
};

} // namespace corvanta::windows
