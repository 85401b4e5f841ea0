#include "BackupWindow.h"

#include "FileChooser.h"
#include "ModalRun.h"
#include "PasswordDialog.h"
#include "Prompter.h"
#include "ledger/LedgerBackup.h"
#include "ledger/LedgerFile.h"
#include "ledger/LedgerPassword.h"
#include "ledger/sql/Database.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
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
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_db(db), m_prompter(prompter),
      m_files(files), m_slices(new QTimer(this)), m_restore(db, notifier)
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
    return m_restoring;
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

namespace {

// The restore's questions: a message box, and the password dialog over the window.
class RestoreBoxes : public ledger::RestoreAnswers {
public:
    RestoreBoxes(Prompter& prompter, QWidget* window) : m_prompter(prompter), m_window(window) {}
    bool confirm() override
    {
        return m_prompter.askYesNo(u"恢复覆盖"_s,
                                   u"将覆盖数据库中的所有记录，\r操作不可恢复，是否进行？"_s);
    }
    void askBackupPassword(const QString& backup,
                           const std::function<QString(const QByteArray&)>& tryPassword) override
    {
        PasswordDialog dialog(u"恢复"_s, ledger::passwordTexts::askForBackup(backup),
                              {u"备份的密码："_s}, m_window);
        askUntilTaken(dialog, 1, [&](const Passwords& passwords) {
            return tryPassword(passwords.entries.value(0));
        });
    }

private:
    Prompter& m_prompter;
    QWidget* m_window;
};

} // namespace

void BackupWindow::startRestore()
{
    const QString source = m_files.openFile(filter);
    if (source.isEmpty()) {
        setButtonsEnabled(true);
        return;
    }
    RestoreBoxes boxes(m_prompter, this);
    ledger::RestoreRun::Started started;
    try {
        started = m_restore.start(source, boxes);
    } catch (const ledger::BackupError& error) {
        m_prompter.inform(error.message());
        setButtonsEnabled(true);
        return;
    }
    if (started.start == ledger::RestoreRun::Start::NoSafetyCopy)
        m_prompter.inform(started.why);
    if (started.start != ledger::RestoreRun::Start::Begun) { // a cancelled password says nothing
        setButtonsEnabled(true);
        return;
    }
    m_progress->setRange(0, qMax(1, int(m_restore.tradeCount())));
    m_progress->setValue(0);
    m_restoring = true;
    setRunModal(*this, true);
    m_slices->start();
}

void BackupWindow::restoreSlice()
{
    try {
        m_restore.copyNext(sliceRows);
        const ledger::RestoreProgress progress = m_restore.progress();
        m_progress->setRange(0, qMax(1, progress.maximum));
        m_progress->setValue(progress.value);
        setStatus(progress.status);
        if (!m_restore.atEnd())
            return;
        m_restore.finish();
    } catch (const sql::Error& error) {
        m_prompter.inform(u"恢复没有完成，账本保持原样（"_s + error.message() + u"）。"_s);
        endRestore(false);
        return;
    }
    setStatus(m_restore.progress().status);
    endRestore(true);
}

void BackupWindow::endRestore(bool committed)
{
    m_slices->stop();
    setRunModal(*this, false); // while restoring() holds: no shown/hidden signals
    m_restoring = false;
    if (!committed)
        setStatus(idleStatus);
    setButtonsEnabled(true);
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
