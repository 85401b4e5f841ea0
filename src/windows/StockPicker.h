#pragma once

#include "calc/MarketKind.h"
#include "ledger/StockTable.h"
#include "windows/StockInfoLink.h" // the link helpers that go with infoLinkChanged

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <optional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace corvanta::windows {

class Prompter;

// Chooses the stock of a trade from the main window's code input and candidate
// list: a code prefix or pinyin initials are looked up in the stock table, the
// first match becomes the current stock and its name the trade box caption.
//
// The picker drives widgets the window owns. It limits the code input to six
// characters (starting at "000000" when empty) and makes the candidate list
// editable but read-only, so its text can show the caption while nothing typed
// reaches it.
// Any focus-out of the code input within the window (not a switch to another
// application, not a popup) completes the code.
class StockPicker : public QObject {
    Q_OBJECT
public:
    // `next` receives the focus on Enter in the code input (the quantity input).
    StockPicker(ledger::StockTable& stocks, Prompter& prompter, QLineEdit* codeInput,
                QComboBox* candidateList, QWidget* next, QObject* parent = nullptr);

    // True while the market inferred by the picker is being applied: the market
    // choice's handler leaves the focus where it is.
    bool isUpdating() const { return m_updating; }

    // The current stock: the first match of the last lookup, the chosen candidate
    // or the stock set from outside; none when nothing matched.
    std::optional<ledger::StockRow> current() const { return m_current; }
    // The stock name as shown to the user (the trade box caption); may be empty.
    QString caption() const { return m_caption; }
    // The rows behind the candidate list, in list order (at most 20).
    const QList<ledger::StockRow>& candidates() const { return m_candidates; }

    // Makes the given stock current without a lookup (a saved stock, a ledger row
    // loaded back): it becomes the only candidate, the caption and the code
    // input's text; its id is 0. An empty name leaves no current stock. The
    // market is left to the caller.
    void setCurrentStock(const QString& code, const QString& name);

    // The steps of a key release in a code input, for windows with their own
    // input: emit the market of `text`, then look it up.
    void inferMarket(const QString& text);
    void lookupStock(const QString& text);
    // Leaving the code input: fills in an empty input, offers to add an unknown
    // stock, completes a partial code or pinyin, updates the info link.
    void completeCode();
    // Choosing the entry at `index` of the candidate list.
    void selectCandidate(int index);
    // Candidates another window looked up (the code lookup beside the monitor):
    // the list offers them, the first selected, for choosing; the current stock,
    // the caption and the code input stay until one is chosen.
    void offerCandidates(const QList<ledger::StockRow>& rows);

    static constexpr int maxCandidates = 20;

Q_SIGNALS:
    void marketInferred(corvanta::MarketKind market);
    // 0 while the code begins "58" (warrants pay no stamp duty), else 1.
    void stampDutyFlagChanged(int flag);
    void captionChanged(const QString& name);
    // The user agreed to add the unknown stock of that code.
    void addStockRequested(const QString& code);
    void infoLinkChanged(const QString& caption, const QUrl& url);
    // A stock was chosen; its quote may be fetched now.
    void quoteWanted(const QString& code);
    // A key was pressed in the code input: the single-stock refresh stops.
    void refreshStopRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterCodeInput(QEvent* event);
    bool filterCandidateList(QEvent* event);
    void onCodeTextChanged(const QString& text);
    void setCaption(const QString& name);
    void showCaptionInList();
    void putCode(const QString& code);
    template <typename Step> void guarded(Step step);

    ledger::StockTable& m_stocks;
    Prompter& m_prompter;
    QPointer<QLineEdit> m_codeInput;
    // The code input as the event filter sees it, compared and never used: events
    // still arrive while the input is being destroyed, when it is no QLineEdit any
    // more and reading it through m_codeInput would be undefined.
    const QObject* m_codeInputObject = nullptr;
    QPointer<QComboBox> m_candidateList;
    QPointer<QWidget> m_next;

    QList<ledger::StockRow> m_candidates;
    std::optional<ledger::StockRow> m_current;
    QString m_caption;
    bool m_updating = false;
    bool m_addOffered = false; // the add question was answered Yes for this lookup
    bool m_completing = false;
};

} // namespace corvanta::windows
