#include "JournalWindow.h"

#include "JournalButtonBar.h"
#include "JournalMemoPanel.h"
#include "JournalMemoWindow.h"
#include "JournalMenu.h"
#include "JournalNotesPanel.h"
#include "JournalTableModel.h"
#include "LedgerGuard.h"
#include "Prompter.h"
#include "journal/JournalGrid.h"
#include "journal/NoteTexts.h"
#include "ledger/LedgerChanges.h"
#include "ledger/sql/Database.h"
#include "model/TradeForm.h"

#include <QHideEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace corvanta::windows {

namespace {

// The pause between marking the header and filling it, which gives the main window
// time to make the chosen stock current before its quote fields are read.
constexpr int headerPauseMs = 120;

} // namespace

JournalWindow::JournalWindow(journal::Journal& journal, ledger::LedgerNotifier& changes,
                             model::TradeForm& trade, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), m_journal(journal), m_changes(changes), m_trade(trade),
      m_prompter(prompter), m_model(new JournalTableModel(this)),
      m_notes(new JournalNotesPanel(*m_model, this)), m_buttons(new JournalButtonBar(this)),
      m_memo(new JournalMemoPanel(this)), m_menu(new JournalMenu(this)),
      m_headerPause(new QTimer(this))
{
    setObjectName(QStringLiteral("TForm17"));
    setWindowTitle(journal::texts::windowCaption.toString());
    resize(800, 600);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_notes, 3);
    layout->addWidget(m_buttons);
    layout->addWidget(m_memo, 2);

    m_headerPause->setSingleShot(true);
    m_headerPause->setInterval(headerPauseMs);
    connect(m_headerPause, &QTimer::timeout, this, &JournalWindow::showQuoteHeader);

    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_menu->popup(mapToGlobal(at)); });
    QWidget* gridArea = m_notes->grid()->viewport();
    gridArea->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(gridArea, &QWidget::customContextMenuRequested, this,
            [this, gridArea](const QPoint& at) { m_menu->popup(gridArea->mapToGlobal(at)); });

    connect(m_menu->deleteAction(), &QAction::triggered, this, &JournalWindow::deleteNote);
    connect(m_menu->clearAction(), &QAction::triggered, this, &JournalWindow::clearNotes);
    connect(m_menu->rateAction(), &QAction::triggered, this, [this] {
        if (m_memoWindow) {
            m_memoWindow->show();
            m_memoWindow->raise();
            m_memoWindow->activateWindow();
        } else {
            Q_EMIT memoWindowRequested();
        }
    });
    connect(m_menu->mainWindowAction(), &QAction::triggered, this,
            &JournalWindow::toggleMainWindow);
    connect(m_menu->addAction(), &QAction::triggered, this, &JournalWindow::addNote);
    connect(m_menu, &JournalMenu::filterChosen, this, &JournalWindow::applyFilter);

    connect(m_notes, &JournalNotesPanel::noteChosen, this, &JournalWindow::showSelectedNote);
    connect(m_buttons->codeField(), &QLineEdit::editingFinished, this,
            &JournalWindow::leaveCodeField);
    connect(m_buttons->codeField(), &QLineEdit::returnPressed, this,
            [this] { m_memo->memo()->setFocus(); });
    connect(m_buttons->saveButton(), &QPushButton::clicked, this, &JournalWindow::saveNote);
    connect(m_buttons->addButton(), &QPushButton::clicked, this, &JournalWindow::addFromButton);
    connect(m_buttons->deleteButton(), &QPushButton::clicked, this, &JournalWindow::deleteNote);
    connect(m_buttons->exitButton(), &QPushButton::clicked, this, &QWidget::hide);
    connect(m_memo, &JournalMemoPanel::saveRequested, this, &JournalWindow::saveNote);

    connect(&m_changes, &ledger::LedgerNotifier::changed, this, &JournalWindow::onLedgerChanged);

    withLedger(m_prompter, LedgerAccess::Read, [&] { reload(Landing::Last); });
    m_order = journal::NoteOrder::ByEntry;
}

void JournalWindow::attachMemoWindow(JournalMemoWindow* memoWindow)
{
    m_memoWindow = memoWindow;
    connect(memoWindow, &JournalMemoWindow::confirmed, this, &JournalWindow::applyMemo);
}

std::optional<qint64> JournalWindow::currentNoteId() const
{
    if (const journal::JournalGridRow* row = m_model->rowAt(m_notes->currentRow()))
        return row->id;
    return std::nullopt;
}

void JournalWindow::reload(Landing landing)
{
    const std::optional<qint64> previous = currentNoteId();
    const QDate today = QDate::currentDate();
    m_model->setRows(journal::journalGridRows(m_journal.notes(m_filter, m_order),
                                              m_journal.reminders(), today, m_alerted));
    const int last = m_model->rowCount() - 1;
    int row = last;
    if (landing == Landing::First)
        row = last >= 0 ? 0 : -1;
    else if (landing == Landing::Keep && previous && m_model->rowOf(*previous) >= 0)
        row = m_model->rowOf(*previous);
    m_notes->selectRow(row);
    // The memo follows a note that became selected by a delete or a filter, so a
    // save never writes one note's text over another. A new note's text is there.
    if (isVisible() && !m_adding && currentNoteId() && currentNoteId() != previous)
        showSelectedNote();
}

void JournalWindow::onLedgerChanged(ledger::LedgerChanges what)
{
    if (!what.testFlag(ledger::LedgerChange::Journal))
        return;
    const Landing landing = std::exchange(m_nextLanding, Landing::Keep);
    withLedger(m_prompter, LedgerAccess::Read, [&] { reload(landing); });
}

journal::NoteDraft JournalWindow::draft() const
{
    return {m_trade.stockCode(), m_trade.stockName(),          m_trade.currentPrice(),
            m_trade.todayOpen(), m_trade.lastClose(),          m_trade.bestBid(),
            m_trade.bestAsk(),   m_memo->memo()->toPlainText()};
}

void JournalWindow::fillTemplate()
{
    const journal::TemplateInputs inputs{m_trade.tradeDate().startOfDay(), m_trade.stockCode(),
                                         m_trade.stockName(), m_trade.quantity(), m_trade.price()};
    m_memo->memo()->setPlainText(journal::noteTemplate(inputs, QDate::currentDate()).join(u'\n'));
}

bool JournalWindow::addNote()
{
    if (m_trade.stockCode().trimmed().isEmpty())
        return false;
    m_nextLanding = Landing::Last;
    m_adding = true;
    const auto outcome = withLedger(m_prompter, LedgerAccess::Write, [&] {
        return m_journal.add(draft(), QDate::currentDate(), m_changes);
    });
    m_adding = false;
    m_nextLanding = Landing::Keep;
    if (!outcome)
        return false;
    if (!outcome->written()) {
        m_prompter.inform(outcome->refusal);
        return false;
    }
    m_notes->markHeader();
    return true;
}

std::optional<QString> JournalWindow::addFromMainWindow()
{
    if (m_trade.stockCode().trimmed().isEmpty())
        return std::nullopt;
    fillTemplate();
    if (!addNote())
        return std::nullopt;
    return journal::texts::addedFromMainWindow.toString();
}

void JournalWindow::addFromButton()
{
    m_buttons->addButton()->setEnabled(false);
    addNote();
    m_buttons->codeField()->clear();
}

void JournalWindow::saveNote()
{
    applyMemo({}, {});
}

void JournalWindow::applyMemo(const QString& ratingChoice,
                              const journal::ReminderSettings& reminder)
{
    const bool fromMemoWindow = !ratingChoice.isEmpty();
    if (fromMemoWindow) {
        m_journal.setCurrentRating(journal::ratingOfChoice(ratingChoice));
        m_memo->memo()->appendPlainText(ratingChoice);
    }
    const std::optional<qint64> id = currentNoteId();
    if (!id)
        m_nextLanding = Landing::Last;
    const auto outcome = withLedger(m_prompter, LedgerAccess::Write, [&] {
        return m_journal.save(id, draft(), m_changes, fromMemoWindow ? &reminder : nullptr);
    });
    m_nextLanding = Landing::Keep;
    if (outcome && !outcome->written())
        m_prompter.inform(outcome->refusal);
}

void JournalWindow::deleteNote()
{
    const std::optional<qint64> id = currentNoteId();
    if (!id)
        return;
    m_nextLanding = Landing::Last;
    withLedger(m_prompter, LedgerAccess::Write, [&] { m_journal.remove(*id, m_changes); });
    m_nextLanding = Landing::Keep;
}

void JournalWindow::clearNotes()
{
    if (!m_prompter.askYesNo(journal::texts::clearCaption.toString(),
                             journal::texts::clearQuestion.toString()))
        return;
    m_nextLanding = Landing::First;
    if (withLedger(m_prompter, LedgerAccess::Write, [&] { m_journal.clear(m_changes); }))
        m_memo->memo()->clear();
    m_nextLanding = Landing::Keep;
}

void JournalWindow::applyFilter(journal::RatingFilter filter)
{
    m_filter = filter;
    withLedger(m_prompter, LedgerAccess::Read, [&] { reload(Landing::Last); });
}

void JournalWindow::showSelectedNote()
{
    const std::optional<qint64> id = currentNoteId();
    if (!id)
        return;
    const auto found =
        withLedger(m_prompter, LedgerAccess::Read, [&] { return m_journal.note(*id); });
    if (!found || !*found)
        return;
    const journal::JournalNote* note = &**found;
    m_trade.chooseStock(note->code);
    m_memo->setTitle(journal::memoCaption(note->code, note->name));
    m_memo->memo()->setPlainText(note->text);
    m_notes->markHeader();
    m_headerPause->start();
}

void JournalWindow::showQuoteHeader()
{
    m_notes->setTitle(journal::quoteHeader(
        {m_trade.stockCode(), m_trade.stockName(), m_trade.currentPrice(), m_trade.todayOpen(),
         m_trade.lastClose(), m_trade.bestBid(), m_trade.bestAsk()}));
}

void JournalWindow::quoteChanged()
{
    if (isVisible())
        showQuoteHeader();
}

void JournalWindow::showAlert(qint64 noteId)
{
    m_alerted.insert(noteId);
    withLedger(m_prompter, LedgerAccess::Read, [&] { reload(Landing::Keep); });
}

void JournalWindow::leaveCodeField()
{
    const QString code = m_buttons->codeField()->text().trimmed();
    if (code.isEmpty())
        return;
    m_trade.chooseStock(code);
    fillTemplate();
    m_buttons->addButton()->setEnabled(true);
}

void JournalWindow::toggleMainWindow()
{
    QAction* action = m_menu->mainWindowAction();
    if (action->text() == journal::texts::hideMainWindow) {
        setMainWindowShown(false);
        m_hidMainWindow = true;
        Q_EMIT mainWindowHideRequested();
    } else {
        setMainWindowShown(true);
        Q_EMIT mainWindowShowRequested();
    }
}

void JournalWindow::setMainWindowShown(bool shown)
{
    if (shown)
        m_hidMainWindow = false;
    m_menu->mainWindowAction()->setText(shown ? journal::texts::hideMainWindow.toString()
                                              : journal::texts::showMainWindow.toString());
}

void JournalWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (QScreen* desk = screen())
        move(desk->availableGeometry().center() - rect().center());
    Q_EMIT shown();
    showSelectedNote();
}

void JournalWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    Q_EMIT hidden();
    // 退出 or the close box: a main window this window hid comes back. One hidden
    // by other means (the tray item, the monitor) stays where it went.
    if (m_hidMainWindow) {
        setMainWindowShown(true);
        Q_EMIT mainWindowShowRequested();
    }
}

} // namespace corvanta::windows
