#include "SideWindows.h"

#include "MainMenus.h"
#include "MainWindow.h"
#include "ReminderNotifier.h"
#include "TradePanel.h"
#include "TrayController.h"
#include "journal/Journal.h"
#include "journal/ReminderWatch.h"
#include "report/StockCompletion.h"
#include "windows/JournalMemoWindow.h"
#include "windows/JournalWindow.h"
#include "windows/ProfitLossWindow.h"
#include "windows/TradePort.h"

#include <QAction>
#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

namespace corvanta::app {

SideWindows::SideWindows(sql::Database& db, ledger::LedgerNotifier& changes, MainWindow& main,
                         windows::TradePort& trade, windows::Prompter& prompter, TrayPort& tray)
    : m_main(main), m_trade(trade), m_journal(std::make_unique<journal::Journal>(db)),
      m_notifier(std::make_unique<ReminderNotifier>(tray, *main.statusBar())),
      m_reminders(std::make_unique<journal::ReminderWatch>(*m_journal, changes, *m_notifier)),
      m_profitLoss(std::make_unique<windows::ProfitLossWindow>(trade)),
      m_journalWindow(
          std::make_unique<windows::JournalWindow>(*m_journal, changes, trade, prompter)),
      m_memoWindow(std::make_unique<windows::JournalMemoWindow>(trade))
{
    m_journalWindow->attachMemoWindow(m_memoWindow.get());
    connect(m_reminders.get(), &journal::ReminderWatch::alerted, m_journalWindow.get(),
            &windows::JournalWindow::showAlert);
    wireMenus();
    wireMainWindow();
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
    for (QAction* item : {menus.tradeDetail, menus.ledgerDetail, menus.trayDetail}) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, &SideWindows::openProfitLoss);
    }
    for (QAction* item : {menus.tradeJournalAdd, menus.ledgerJournalAdd}) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, &SideWindows::addToJournal);
    }
    for (QAction* item : {menus.tradeJournalView, menus.ledgerJournalView}) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, &SideWindows::openJournal);
    }
}

void SideWindows::wireMainWindow()
{
    TrayController& tray = m_main.tray();
    connect(m_profitLoss.get(), &windows::ProfitLossWindow::hideMainWindowRequested, &tray,
            &TrayController::hideToTray);
    connect(m_profitLoss.get(), &windows::ProfitLossWindow::showMainWindowRequested, &tray,
            &TrayController::restore);
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
    connect(m_main.trade().currentPrice, &QLineEdit::textChanged, this,
            &SideWindows::onCurrentPriceEdited);
    connect(&m_main, &MainWindow::closing, this, [this] {
        m_profitLoss->close();
        m_memoWindow->close();
        m_journalWindow->close();
    });
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
    m_journalWindow->quoteChanged();
    m_reminders->quoteArrived(m_trade.stockCode(), m_trade.currentPriceText(),
                              QDate::currentDate());
}

void SideWindows::quotesArrived(const QStringList& records)
{
    m_reminders->pricesArrived(report::pricesFromLines(records), QDate::currentDate());
}

void SideWindows::openProfitLoss()
{
    m_profitLoss->open(m_main.frameGeometry());
}

void SideWindows::openJournal()
{
    m_journalWindow->show();
    m_journalWindow->raise();
    m_journalWindow->activateWindow();
}

void SideWindows::addToJournal()
{
    if (const auto result = m_journalWindow->addFromMainWindow())
        m_main.trade().gainLabel->setText(*result);
}

} // namespace corvanta::app
