#pragma once

#include "ledger/StockTable.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace corvanta::windows {

class MonitorWindow;
class Prompter;

// "代码": chooses the head stock from the floating bar by code or pinyin
// initials; the stock found becomes the monitor's head stock at once.
class CodeLookupWindow : public QDialog {
    Q_OBJECT
public:
    CodeLookupWindow(ledger::StockTable& stocks, MonitorWindow& monitor, Prompter& prompter,
                     QWidget* parent = nullptr);

    // Opens 30 pixels right of and below the bar's top-left corner, emptied.
    void openBeside(const QPoint& barTopLeft);

    QLineEdit* code() const { return m_code; }
    QLineEdit* name() const { return m_name; }
    QListWidget* candidates() const { return m_list; }

Q_SIGNALS:
    // Enter in the code input with a stock found: one refresh cycle now.
    void refreshRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void lookUp();
    void choose(int row);
    void complete();

    ledger::StockTable& m_stocks;
    MonitorWindow& m_monitor;
    Prompter& m_prompter;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QListWidget* m_list;
    QList<ledger::StockRow> m_rows;
};

} // namespace corvanta::windows
