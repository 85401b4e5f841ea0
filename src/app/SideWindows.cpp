#include "SideWindows.h"

#include "MainMenus.h"
#include "MainWindow.h"
#include "ReminderNotifier.h"
#include "TradePanel.h"
#include "TrayController.h"
#include "journal/Journal.h"
#include "journal/ReminderWatch.h"
#include "model/TradeForm.h"
#include "report/StockCompletion.h"
#include "windows/JournalMemoWindow.h"
#include "windows/JournalWindow.h"
#include "windows/ProfitLossWindow.h"

#include <QAction>
#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

namespace corvanta::app {

SideWindows::SideWindows(sql::Database& db, ledger::LedgerNotifier& changes, MainWindow& main,
                         model::TradeForm& trade, windows::Prompter& prompter, TrayPort& tray)
    : m_main(main), m_trade(trade), m_changes(changes), m_prompter(prompter),
      m_journal(std::make_unique<journal::Journal>(db)),
      m_notifier(std::make_unique<ReminderNotifier>(tray, *main.statusBar())),
      m_reminders(std::make_unique<journal::ReminderWatch>(*m_journal, changes, *m_notifier))
{
    // A told reminder is marked in the journal's grid, which is built for it.
    connect(m_reminders.get(), &journal::ReminderWatch::alerted, this,
            [this](qint64 noteId) { journalWindow().showAlert(noteId); });
    wireMenus();
    wireMainWindow();
}

windows::ProfitLossWindow& SideWindows::profitLoss()
{
    if (!m_profitLoss) {
        m_profitLoss = std::make_unique<windows::ProfitLossWindow>(m_trade);
        wireProfitLoss();
    }
    return *m_profitLoss;
}

windows::JournalWindow& SideWindows::journalWindow()
{
    if (!m_journalWindow) {
        m_journalWindow =
            std::make_unique<windows::JournalWindow>(*m_journal, m_changes, m_trade, m_prompter);
        m_journalWindow->attachMemoWindow(&memoWindow());
        wireJournalWindow();
    }
    return *m_journalWindow;
}

windows::JournalMemoWindow& SideWindows::memoWindow()
{
    if (!m_memoWindow)
        m_memoWindow = std::make_unique<windows::JournalMemoWindow>(m_trade);
    return *m_memoWindow;
}

// The windows go before the journal they show.
SideWindows::~SideWindows() = default;

void SideWindows::startReminders()
{
    m_reminders->startChecking();
}

void SideWindows::wireMenus()
{
    MainMenus& menus = m_main.menus();
    for (QAction* item : {menus.tradeDetail, menus.ledgerDetail, menus.trayDetail})
        connect(item, &QAction::triggered, this, &SideWindows::openProfitLoss);
    for (QAction* item : {menus.tradeJournalAdd, menus.ledgerJournalAdd})
        connect(item, &QAction::triggered, this, &SideWindows::addToJournal);
    for (QAction* item : {menus.tradeJournalView, menus.ledgerJournalView})
        connect(item, &QAction::triggered, this, &SideWindows::openJournal);
    m_main.markAvailable(model::Available::ProfitLoss | model::Available::Journal);
}

void SideWindows::wireMainWindow()
{
    // Typed, fetched or written by another window, the current price is the form's.
    connect(&m_trade, &model::TradeForm::textChanged, this, [this](model::TradeText which) {
        if (which == model::TradeText::CurrentPrice)
            onCurrentPriceEdited();
    });
    connect(&m_main, &MainWindow::closing, this, [this] {
        if (m_profitLoss)
            m_profitLoss->close();
        if (m_memoWindow)
            m_memoWindow->close();
        if (m_journalWindow)
            m_journalWindow->close();
    });
}

void SideWindows::wireProfitLoss()
{
    TrayController& tray = m_main.tray();
    connect(m_profitLoss.get(), &windows::ProfitLossWindow::hideMainWindowRequested, &tray,
            &TrayController::hideToTray);
    connect(m_profitLoss.get(), &windows::ProfitLossWindow::showMainWindowRequested, &tray,
            &TrayController::restore);
}

void SideWindows::wireJournalWindow()
{
    TrayController& tray = m_main.tray();
    connect(m_journalWindow.get(), &windows::JournalWindow::mainWindowHideRequested, &tray,
            &TrayController::hideToTray);
    // Closing with the program the journal brings nothing back.
    connect(m_journalWindow.get(), &windows::JournalWindow::mainWindowShowRequested, &tray,
            [this, &tray] {
                if (!m_main.isClosing())
                    tray.restore();
            });
    // The journal's 隐藏主窗口/显示主窗口 follows the main window however it went.
    m_main.installEventFilter(this);
    connect(m_journalWindow.get(), &windows::JournalWindow::shown, this,
            [this] { Q_EMIT mainTimerPauseWanted(true); });
    connect(m_journalWindow.get(), &windows::JournalWindow::hidden, this,
            [this] { Q_EMIT mainTimerPauseWanted(false); });
}

bool SideWindows::eventFilter(QObject* watched, QEvent* event)
{
    // A minimised window gets a spontaneous hide and is still there.
    if (watched == &m_main && !event->spontaneous()) {
        if (event->type() == QEvent::Show)
            m_journalWindow->setMainWindowShown(true);
        else if (event->type() == QEvent::Hide)
            m_journalWindow->setMainWindowShown(false);
    }
    return QObject::eventFilter(watched, event);
}

void SideWindows::onCurrentPriceEdited()
{
    // The quote header follows only in a journal window that has been built.
    if (m_journalWindow)
        m_journalWindow->quoteChanged();
    m_reminders->quoteArrived(m_trade.stockCode(), m_trade.currentPrice(), QDate::currentDate());
}

void SideWindows::quotesArrived(const QStringList& records)
{
    m_reminders->pricesArrived(report::pricesFromLines(records), QDate::currentDate());
}

void SideWindows::openProfitLoss()
{
    profitLoss().open(m_main.frameGeometry());
}

void SideWindows::openJournal()
{
    windows::JournalWindow& window = journalWindow();
    window.show();
    window.raise();
    window.activateWindow();
}

void SideWindows::addToJournal()
{
    if (const auto result = journalWindow().addFromMainWindow())
        m_main.trade().gainLabel->setText(*result);
}

} // namespace corvanta::app
