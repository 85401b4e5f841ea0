#pragma once

#include <QDate>

#include "ledger/LedgerChanges.h"
#include "ledger/RestoreRun.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace corvanta::sql {
class Database;
}

namespace corvanta::windows {

// The file name the backup's save dialog proposes: the day's backup, never the
// ledger's own name "gpmc.mdb".
QString proposedBackupName(const QDate& day);

class FileChooser;
class Prompter;

// The backup and restore window: a backup copies the ledger to a file the user
// chooses; a restore replaces the trades and the stock table with a backup's,
// in slices on a timer so the program stays responsive. While a restore runs the
// window is modal, so nothing else writes to the ledger meanwhile.
class BackupWindow : public QWidget {
    Q_OBJECT
public:
    BackupWindow(sql::Database& db, ledger::LedgerNotifier& notifier, Prompter& prompter,
                 FileChooser& files, QWidget* parent = nullptr);
    ~BackupWindow() override;

    // Rows copied per slice of a restore.
    static constexpr int sliceRows = 500;

    QString statusLine() const;
    bool restoreChosen() const;
    void chooseRestore(bool restore);
    QPushButton* runButton() const { return m_run; }
    QPushButton* exitButton() const { return m_exit; }
    QProgressBar* progress() const { return m_progress; }
    QCheckBox* tradesBox() const { return m_trades; }
    QCheckBox* stocksBox() const { return m_stocks; }
    bool restoring() const;

    // "执行(&R)".
    void run();

Q_SIGNALS:
    // Shown (true) or hidden: the main window's periodic work pauses meanwhile.
    void shownChanged(bool shown);
    // A restore has ended, committed or not. A committed one replaced the ledger
    // under the monitor: its floating bar must build its lines again.
    void restoreEnded(bool committed);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void setStatus(const QString& text);
    void setButtonsEnabled(bool enabled);
    void backup();
    void startRestore();
    void restoreSlice();
    void endRestore(bool committed);

    sql::Database& m_db;
    Prompter& m_prompter;
    FileChooser& m_files;
    QGroupBox* m_statusGroup = nullptr;
    QRadioButton* m_backupChoice = nullptr;
    QRadioButton* m_restoreChoice = nullptr;
    QCheckBox* m_trades = nullptr;
    QCheckBox* m_stocks = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_exit = nullptr;
    QTimer* m_slices = nullptr;
    ledger::RestoreRun m_restore;
    bool m_restoring = false; // from the first slice to the window's end of it
};

} // namespace corvanta::windows
