#pragma once

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace corvanta::windows {

// The monitor window's head area: the head stock's trade inputs, the current
// price and its gain, the monitoring switch with its interval, the progress
// label. The caption is the head stock's name.
class MonitorHeadPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit MonitorHeadPanel(QWidget* parent = nullptr);

    QComboBox* picker;     // ComboBox5
    QLineEdit* code;       // Edit3
    QLineEdit* quantity;   // Edit4
    QLineEdit* price;      // Edit5
    QLineEdit* fees;       // fyhj
    QLineEdit* current;    // syl
    QLineEdit* paid;       // zfze
    QCheckBox* monitoring; // CheckBox1
    QLabel* gain;          // Label3
    QScrollBar* interval;  // ScrollBar1
    QLabel* intervalText;
    QLabel* progress; // Label5
};

// The buy-back calculator "指定价位" and the two index labels beside it.
class MonitorBuyBackPanel : public QWidget {
    Q_OBJECT
public:
    explicit MonitorBuyBackPanel(QWidget* parent = nullptr);

    QLineEdit* specified; // Edit1
    QLabel* gain;         // Label4
    QLabel* firstIndex;   // Label1 "上证:"
    QLabel* secondIndex;  // Label2 "深成:"
};

} // namespace corvanta::windows
