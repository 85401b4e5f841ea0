#include "StockPicker.h"

#include "LedgerGuard.h"
#include "calc/GbkLength.h"
#include "calc/PlaceholderStock.h"
#include "ledger/sql/Database.h"
#include "windows/Prompter.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

constexpr int codeLength = 6;

bool beginsWithDigit(const QString& text)
{
    return !text.isEmpty() && text.front() >= u'0' && text.front() <= u'9';
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Keys that move through the candidate list or leave it; every other key would
// type into it.
bool isListNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_F4:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return true;
    default:
        return false;
    }
}

} // namespace

// Database failures are shown and end the step; no exception leaves an event.
template <typename Step> void StockPicker::guarded(Step step)
{
    withLedger(m_prompter, LedgerAccess::Read, step);
}

StockPicker::StockPicker(ledger::StockTable& stocks, Prompter& prompter, QLineEdit* codeInput,
                         QComboBox* candidateList, QWidget* next, QObject* parent)
    : QObject(parent), m_stocks(stocks), m_prompter(prompter), m_codeInput(codeInput),
      m_codeInputObject(codeInput), m_candidateList(candidateList), m_next(next)
{
    m_codeInput->setMaxLength(codeLength);
    if (m_codeInput->text().isEmpty())
        m_codeInput->setText(placeholderCode.toString());
    m_candidateList->setEditable(true);
    m_candidateList->setInsertPolicy(QComboBox::NoInsert);
    m_candidateList->lineEdit()->setReadOnly(true);

    m_codeInput->installEventFilter(this);
    m_candidateList->installEventFilter(this);
    m_candidateList->lineEdit()->installEventFilter(this);
    connect(m_codeInput, &QLineEdit::textChanged, this, &StockPicker::onCodeTextChanged);
    connect(m_candidateList, &QComboBox::activated, this,
            [this](int index) { guarded([&] { selectCandidate(index); }); });
}

void StockPicker::setCurrentStock(const QString& code, const QString& name)
{
    m_addOffered = false;
    m_current.reset();
    m_candidates.clear();
    if (!name.isEmpty()) {
        m_current = ledger::StockRow{0, code, name, {}};
        m_candidates.append(*m_current);
    }
    m_candidateList->clear();
    if (m_current) {
        m_candidateList->addItem(name);
        m_candidateList->setCurrentIndex(0);
    }
    setCaption(name);
    m_codeInput->setText(code);
    showCaptionInList();
}

void StockPicker::inferMarket(const QString& text)
{
    // The market choice's handler sees the flag and leaves the focus in the input.
    QScopedValueRollback updating(m_updating, true);
    Q_EMIT marketInferred(corvanta::inferMarket(text));
}

void StockPicker::lookupStock(const QString& text)
{
    // Throws before anything changes, so a failed query keeps the old candidates.
    QList<ledger::StockRow> rows = m_stocks.lookup(text, maxCandidates);

    m_candidates = std::move(rows);
    m_addOffered = false;
    m_current.reset();
    if (!m_candidates.isEmpty())
        m_current = m_candidates.front();

    m_candidateList->clear();
    for (const ledger::StockRow& row : std::as_const(m_candidates))
        m_candidateList->addItem(row.name);
    if (m_current)
        m_candidateList->setCurrentIndex(0);
    setCaption(m_current ? m_current->name : QString());
    showCaptionInList();
}

void StockPicker::completeCode()
{
    if (m_completing)
        return;
    QScopedValueRollback completing(m_completing, true);

    if (m_codeInput->text().isEmpty()) {
        m_current = ledger::StockRow{0, placeholderCode.toString(), placeholderName.toString(), {}};
        setCaption(placeholderName.toString());
        putCode(placeholderCode.toString());
    }

    if (!m_current) {
        // Asked once per lookup: after a Yes the stock editor takes over.
        if (!m_addOffered && m_prompter.askYesNo(u"股票添加确认"_s, u"此股票无记录,是否添加？"_s)) {
            m_addOffered = true;
            Q_EMIT addStockRequested(m_codeInput->text());
        }
        return;
    }

    // A partial code or pinyin becomes the current stock's code before anything
    // uses the input, so links and quotes never see a half-typed code.
    const QString typed = m_codeInput->text();
    if (!beginsWithDigit(typed) || typed.size() < codeLength)
        putCode(m_current->code);

    // One character, a blank or nothing is no name a portal knows.
    if (gbkByteCount(m_current->name) > 3) {
        const QString code = m_codeInput->text();
        Q_EMIT infoLinkChanged(stockInfoCaption(m_current->name), stockInfoUrl(code));
        Q_EMIT quoteWanted(code);
    }
}

void StockPicker::selectCandidate(int index)
{
    if (index < 0 || index >= m_candidates.size())
        return;
    m_current = m_candidates.at(index);
    m_addOffered = false;
    setCaption(m_current->name);
    putCode(m_current->code);
}

void StockPicker::offerCandidates(const QList<ledger::StockRow>& rows)
{
    m_candidates = rows.mid(0, maxCandidates);
    m_candidateList->clear();
    for (const ledger::StockRow& row : std::as_const(m_candidates))
        m_candidateList->addItem(row.name);
    if (!m_candidates.isEmpty())
        m_candidateList->setCurrentIndex(0);
    showCaptionInList();
}

bool StockPicker::eventFilter(QObject* watched, QEvent* event)
{
    bool consumed = false;
    guarded([&] {
        if (watched == m_codeInputObject)
            consumed = filterCodeInput(event);
        else
            consumed = filterCandidateList(event);
    });
    return consumed || QObject::eventFilter(watched, event);
}

bool StockPicker::filterCodeInput(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        Q_EMIT refreshStopRequested();
        if (!isEnter(static_cast<QKeyEvent*>(event)->key()))
            return false;
        if (m_next)
            m_next->setFocus(Qt::OtherFocusReason);
        return true;
    }
    case QEvent::KeyRelease: {
        if (static_cast<QKeyEvent*>(event)->isAutoRepeat())
            return false;
        const QString text = m_codeInput->text();
        inferMarket(text);
        lookupStock(text);
        return false;
    }
    case QEvent::FocusOut: {
        // Switching to another application or opening a popup is no leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            completeCode();
        return false;
    }
    default:
        return false;
    }
}

// Key release in the list does nothing beyond the selection that navigation
// already made: a second lookup from the list's text (a name) would empty it.
bool StockPicker::filterCandidateList(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (isEnter(key)) {
            m_codeInput->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return !isListNavigationKey(key);
    }
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

void StockPicker::onCodeTextChanged(const QString& text)
{
    Q_EMIT stampDutyFlagChanged(stampDutyFlagForCode(text));
    showCaptionInList();
}

void StockPicker::setCaption(const QString& name)
{
    m_caption = name;
    Q_EMIT captionChanged(name);
}

void StockPicker::showCaptionInList()
{
    if (m_candidateList->currentText() != m_caption)
        m_candidateList->setEditText(m_caption);
}

// Whenever the picker writes a code, the market follows it: a stock found by
// its pinyin would otherwise keep the market of the typed letters.
void StockPicker::putCode(const QString& code)
{
    m_codeInput->setText(code);
    inferMarket(code);
}

} // namespace corvanta::windows
