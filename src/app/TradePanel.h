#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QButtonGroup;
class QVBoxLayout;

namespace corvanta::app {

// The trade box: the stock (its name is the box's caption), quantity and price,
// the priced results, the current price, the quote fields and the record buttons.
class TradePanel : public QGroupBox {
    Q_OBJECT
public:
    explicit TradePanel(QWidget* parent = nullptr);

    // Stock picker
    QComboBox* candidates; // ComboBox5
    QLineEdit* code;       // Edit3
    // Trade inputs
    QLineEdit* quantity; // Edit4
    QLabel* quantityCaption;
    QLabel* unitSuffix;
    QButtonGroup* unitGroup; // RadioGroup1: 0 股, 1 手
    QLineEdit* price;        // Edit5
    QLabel* priceCaption;
    QComboBox* amountUnit; // ComboBox4: 元 / 万元
    QLineEdit* otherFee;   // edit6
    // Results
    QLineEdit* jyje;
    QLineEdit* yhs;
    QLineEdit* yj;
    QLineEdit* qtzf;
    QLineEdit* fyhj;
    QLineEdit* zfze;
    QLineEdit* mrcb;
    QLineEdit* bbjg;
    QLabel* jyjeUnit;
    QLabel* fyhjUnit;
    QLabel* zfzeUnit;
    QLabel* totalCaption;
    QLabel* mrcbCaption;
    QLabel* bbjgCaption;
    // Current price and gain
    QLineEdit* currentPrice; // syl
    QLabel* gainLabel;       // Label58
    QProgressBar* refreshProgress;
    // Quote
    QLabel* infoLink; // lbl1
    // The time of the quote in the fields below, or whose quote they hold when it
    // is not the current stock's.
    QLabel* quoteMark;
    QLineEdit* todayOpen;
    QLineEdit* lastClose;
    QLineEdit* bestBid;
    QLineEdit* bestAsk;
    // Buttons
    QPushButton* clearButton;
    QPushButton* recordBuyButton;
    QPushButton* recordSellButton;
    QPushButton* deleteButton;

    // The result fields in the order they are cleared and written.
    QList<QLineEdit*> resultFields() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void keepContentsInPlace();

    // The box's top margin with a caption; without one, the contents keep their place.
    int m_captionedTop = 0;
    QVBoxLayout* m_outer = nullptr;
};

} // namespace corvanta::app
