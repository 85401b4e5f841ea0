#pragma once

#include <QString>
#include <QWidget>

class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace corvanta::ledger {
class LedgerWriter;
class StockTable;
} // namespace corvanta::ledger

namespace corvanta::windows {

class Prompter;

// The stock editor "股票添加窗口": adds a stock to the stock table, or renames the
// stock of an existing code everywhere in the ledger. Kept above other windows;
// created once and shown on demand.
class StockEditorWindow : public QWidget {
    Q_OBJECT
public:
    // Looks stocks up in `stocks` and saves them through `writer`.
    StockEditorWindow(const ledger::StockTable& stocks, ledger::LedgerWriter& writer,
                      Prompter& prompter, QWidget* parent = nullptr);

    // Clears both fields, puts the main window's code into the code field (which
    // stays locked until "修改代码(&D)") and shows the window.
    void showFor(const QString& mainCode);

Q_SIGNALS:
    // A stock was added or renamed: the main window makes it the current stock.
    void stockSaved(const QString& code, const QString& name);
    // The window appeared or went away (the main window's quote timer pauses
    // while it is shown).
    void shown();
    void hidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool nameFieldKey(QKeyEvent* event);
    bool codeFieldKey(QKeyEvent* event);
    void save();
    bool saveStock(const QString& code, const QString& name, const QString& pinyin);
    void clearName();
    void unlockCodeField();
    void lockCodeField();
    void placeOverOwner();

    const ledger::StockTable& m_stocks;
    ledger::LedgerWriter& m_writer;
    Prompter& m_prompter;
    QLineEdit* m_name;
    QLineEdit* m_code;
    QPushButton* m_save;
    QPushButton* m_cancel;
    QPushButton* m_changeCode;
    QPushButton* m_update;
    QPushButton* m_exit;
};

} // namespace corvanta::windows
