#include "BackupWindow.h"

#include "FileChooser.h"
#include "ModalRun.h"
#include "PasswordDialog.h"
#include "Prompter.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerPassword.h"
#include "ledger/LedgerRestore.h"
#include "ledger/SafetyCopies.h"
#include "ledger/sql/Database.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

const QString filter = dialogFilter(u"access 数据库文件|*.mdb|所有文件|*.*"_s);
const QString idleStatus = u"数据备份恢复"_s;

} // namespace

BackupWindow::BackupWindow(sql::Database& db, ledger::LedgerNotifier& notifier, Prompter& prompter,
                           FileChooser& files, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_db(db), m_notifier(notifier),
      m_prompter(prompter), m_files(files), m_slices(new QTimer(this))
{
    setWindowTitle(u"数据导入导出窗口"_s);
    build();
    m_slices->setInterval(0);
    connect(m_slices, &QTimer::timeout, this, &BackupWindow::restoreSlice);
}

BackupWindow::~BackupWindow() = default;

void BackupWindow::build()
{
    auto* outer = new QVBoxLayout(this);
    m_statusGroup = new QGroupBox(idleStatus, this);
    outer->addWidget(m_statusGroup);
    auto* inner = new QVBoxLayout(m_statusGroup);

    auto* choices = new QHBoxLayout;
    auto* way = new QGroupBox(u"选择方式"_s, m_statusGroup);
    way->setToolTip(u"请选择导入或是导出"_s);
    auto* wayLayout = new QVBoxLayout(way);
    m_backupChoice = new QRadioButton(u"备　份(&R)"_s, way);
    m_restoreChoice = new QRadioButton(u"恢　复(&M)"_s, way);
    m_backupChoice->setChecked(true);
    wayLayout->addWidget(m_backupChoice);
    wayLayout->addWidget(m_restoreChoice);
    choices->addWidget(way);

    auto* dataGroup = new QGroupBox(u"数据选择"_s, m_statusGroup);
    auto* dataLayout = new QVBoxLayout(dataGroup);
    m_trades = new QCheckBox(u"交易记录"_s, dataGroup);
    m_stocks = new QCheckBox(u"股票代码表"_s, dataGroup);
    m_trades->setChecked(true);
    dataLayout->addWidget(m_trades);
    dataLayout->addWidget(m_stocks);
    choices->addWidget(dataGroup);
    inner->addLayout(choices);

    m_progress = new QProgressBar(m_statusGroup);
    m_progress->setToolTip(u"导入导出进度"_s);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    inner->addWidget(m_progress);

    auto* buttons = new QHBoxLayout;
    m_run = new QPushButton(u"执行(&R)"_s, m_statusGroup);
    m_exit = new QPushButton(u"退出(E)"_s, m_statusGroup);
    buttons->addStretch();
    buttons->addWidget(m_run);
    buttons->addWidget(m_exit);
    inner->addLayout(buttons);

    connect(m_restoreChoice, &QRadioButton::toggled, this, &BackupWindow::chooseRestore);
    connect(m_run, &QPushButton::clicked, this, &BackupWindow::run);
    connect(m_exit, &QPushButton::clicked, this, &QWidget::hide);
}

QString BackupWindow::statusLine() const
{
    return m_statusGroup->title();
}

bool BackupWindow::restoreChosen() const
{
    return m_restoreChoice->isChecked();
}

bool BackupWindow::restoring() const
{
    return m_restore != nullptr;
}

void BackupWindow::chooseRestore(bool restore)
{
    if (m_restoreChoice->isChecked() != restore) {
        (restore ? m_restoreChoice : m_backupChoice)->setChecked(true);
        return; // the toggle comes back here
    }
    // A restore always brings back both tables.
    m_trades->setChecked(true);
    m_stocks->setChecked(restore);
    m_trades->setEnabled(!restore);
    m_stocks->setEnabled(!restore);
    setStatus(u"数据导入导出"_s);
}

void BackupWindow::setStatus(const QString& text)
{
    m_statusGroup->setTitle(text);
}

void BackupWindow::setButtonsEnabled(bool enabled)
{
    m_run->setEnabled(enabled);
    m_exit->setEnabled(enabled);
}

void BackupWindow::run()
{
    if (restoring())
        return;
    setButtonsEnabled(false);
    setStatus(idleStatus);
    if (restoreChosen())
        startRestore();
    else
        backup();
}

QString proposedBackupName(const QDate& day)
{
    return u"gpmc-备份-"_s + day.toString(u"yyyyMMdd"_s) + u".mdb"_s;
}

void BackupWindow::backup()
{
    // Never the live ledger's own name: beside it, that would propose overwriting it.
    const QString target =
        m_files.saveFile(filter, proposedBackupName(QDate::currentDate()), u"mdb"_s);
    if (!target.isEmpty() && (!QFileInfo::exists(target) ||
                              m_prompter.askYesNo(u"备份覆盖"_s, u"文件已存在,是否覆盖？"_s))) {
        try {
            ledger::backupLedger(m_db, target);
            setStatus(u"备份成功！"_s);
        } catch (const ledger::BackupError& error) {
            m_prompter.inform(error.message());
        }
    }
    setButtonsEnabled(true);
}

std::unique_ptr<ledger::LedgerRestore> BackupWindow::openRestore(const QString& source)
{
    try {
        return std::make_unique<ledger::LedgerRestore>(m_db, source);
    } catch (const ledger::BackupError& error) {
        if (!error.keyRefused())
            throw;
    }
    PasswordDialog dialog(u"恢复"_s, ledger::passwordTexts::askForBackup(source),
                          {u"备份的密码："_s}, this);
    std::unique_ptr<ledger::LedgerRestore> restore;
    std::optional<ledger::BackupError> failure;
    askUntilTaken(dialog, 1, [&](const Passwords& passwords) -> QString {
        try {
            restore =
                std::make_unique<ledger::LedgerRestore>(m_db, source, passwords.entries.value(0));
        } catch (const ledger::BackupError& error) {
            if (error.keyRefused())
                return ledger::wrongPasswordText() + u"请重新输入。"_s;
            failure.emplace(error);
        }
        return QString();
    });
    if (failure)
        throw *failure;
    return restore;
}

void BackupWindow::startRestore()
{
    const QString source = m_files.openFile(filter);
    if (source.isEmpty() ||
        !m_prompter.askYesNo(u"恢复覆盖"_s,
                             u"将覆盖数据库中的所有记录，\r操作不可恢复，是否进行？"_s)) {
        setButtonsEnabled(true);
        return;
    }
    try {
        m_restore = openRestore(source);
        if (!m_restore) {
            setButtonsEnabled(true);
            return;
        }
        // The ledger as it was stays one restore away.
        m_safetyCopy = ledger::SafetyCopies(m_db.path()).make(m_db, QDateTime::currentDateTime());
    } catch (const ledger::BackupError& error) {
        m_restore.reset();
        m_prompter.inform(error.message());
        setButtonsEnabled(true);
        return;
    }
    m_progress->setRange(0, qMax(1, int(m_restore->tradeCount())));
    m_progress->setValue(0);
    setRunModal(*this, true);
    m_slices->start();
}

void BackupWindow::restoreSlice()
{
    try {
        m_restore->copyNext(sliceRows);
        const ledger::RestoreProgress progress = m_restore->progress();
        m_progress->setRange(0, qMax(1, progress.maximum));
        m_progress->setValue(progress.value);
        setStatus(progress.status);
        if (!m_restore->atEnd())
            return;
        m_restore->finish();
    } catch (const sql::Error& error) {
        ledger::SafetyCopies(m_db.path()).drop(m_safetyCopy);
        m_prompter.inform(u"恢复没有完成，账本保持原样（"_s + error.message() + u"）。"_s);
        endRestore(false);
        return;
    }
    setStatus(m_restore->progress().status);
    endRestore(true);
}

void BackupWindow::endRestore(bool committed)
{
    m_slices->stop();
    setRunModal(*this, false); // while restoring() holds: no shown/hidden signals
    m_restore.reset();
    if (!committed)
        setStatus(idleStatus);
    setButtonsEnabled(true);
    if (committed)
        m_notifier.announce(ledger::LedgerChange::Trades | ledger::LedgerChange::Stocks);
    Q_EMIT restoreEnded(committed);
}

void BackupWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!restoring())
        Q_EMIT shownChanged(true);
}

void BackupWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!restoring())
        Q_EMIT shownChanged(false);
}

void BackupWindow::closeEvent(QCloseEvent* event)
{
    // A restore runs to its end; the window cannot be closed under it.
    if (restoring())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

} // namespace corvanta::windows
