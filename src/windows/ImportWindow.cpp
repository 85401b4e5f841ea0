#include "ImportWindow.h"
#include "WindowPlace.h"

#include "FileChooser.h"
#include "GenericImportPanel.h"
#include "ModalRun.h"
#include "Prompter.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvTableModel.h"
#include "exchange/StatementFile.h"
#include "exchange/StatementMessages.h"
#include "ledger/LedgerBackup.h"
#include "ledger/Settings.h"
#include "ledger/sql/Database.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

namespace texts = exchange::messages;

// Draws each csv row's text in the colour its operation gives.
class CsvColourModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::ForegroundRole) {
            const QVariant rgb =
                QIdentityProxyModel::data(index, exchange::CsvTableModel::RowColourRole);
            if (rgb.isValid())
                return QColor::fromRgb(QRgb(rgb.toUInt()));
        }
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

QByteArray ImportWindow::readAll(const QString& path)
{
    const exchange::StatementFileContents file = exchange::readStatementFile(path);
    if (!file.bytes)
        tell(file.error);
    return file.bytes.value_or(QByteArray());
}

ImportWindow::ImportWindow(sql::Database& db, ledger::LedgerNotifier& notifier, Prompter& prompter,
                           FileChooser& files, QWidget* parent)
    : QWidget(parent, Qt::Window), m_db(db), m_prompter(prompter), m_files(files),
      m_slices(new QTimer(this)), m_run(db, notifier)
{
    setWindowTitle(texts::importCaption.toString());
    build();
    m_slices->setInterval(0);
    connect(m_slices, &QTimer::timeout, this, &ImportWindow::importSlice);
}

ImportWindow::~ImportWindow() = default;

void ImportWindow::build()
{
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;

    auto* brokerGroup = new QGroupBox(u"证券公司选择"_s, this);
    auto* brokerLayout = new QVBoxLayout(brokerGroup);
    m_brokers = new QComboBox(brokerGroup);
    for (const exchange::StatementLayout& known : exchange::statementLayouts())
        m_brokers->addItem(known.broker);
    m_brokers->addItem(u"通用交割单（按列名识别）"_s);
    brokerLayout->addWidget(m_brokers);
    top->addWidget(brokerGroup);

    auto* kindGroup = new QGroupBox(u"文件类型"_s, this);
    auto* kindLayout = new QHBoxLayout(kindGroup);
    m_textKind = new QRadioButton(u"文本文件"_s, kindGroup);
    m_csvKind = new QRadioButton(u"csv文件"_s, kindGroup);
    m_textKind->setChecked(true);
    kindLayout->addWidget(m_textKind);
    kindLayout->addWidget(m_csvKind);
    top->addWidget(kindGroup);
    outer->addLayout(top);

    auto* fileGroup = new QGroupBox(u"导入文件"_s, this);
    auto* fileLayout = new QHBoxLayout(fileGroup);
    fileLayout->addWidget(new QLabel(u"数据文件"_s, fileGroup));
    m_path = new QLineEdit(fileGroup);
    fileLayout->addWidget(m_path, 1);
    m_browse = new QPushButton(u"浏览(&L)"_s, fileGroup);
    m_import = new QPushButton(u"导入(&R)"_s, fileGroup);
    m_import->setEnabled(false);
    fileLayout->addWidget(m_browse);
    fileLayout->addWidget(m_import);
    outer->addWidget(fileGroup);

    m_memoGroup = new QGroupBox(u"证券商交易记录列表"_s, this);
    auto* memoLayout = new QVBoxLayout(m_memoGroup);
    m_memo = new QPlainTextEdit(m_memoGroup);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoLayout->addWidget(m_memo);
    outer->addWidget(m_memoGroup, 1);

    m_csvGroup = new QGroupBox(u"csv格式数据文件内容"_s, this);
    auto* csvLayout = new QVBoxLayout(m_csvGroup);
    m_csvModel = new exchange::CsvTableModel(this);
    auto* coloured = new CsvColourModel(this);
    coloured->setSourceModel(m_csvModel);
    m_csvView = new QTableView(m_csvGroup);
    m_csvView->setModel(coloured);
    m_csvView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_csvView->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_csvView->addAction(new QAction(u"删除(&D)"_s, m_csvView)); // offered, does nothing
    csvLayout->addWidget(m_csvView);
    m_csvGroup->hide();
    outer->addWidget(m_csvGroup, 1);

    m_generic = new GenericImportPanel(
        [this] {
            try {
                return ledger::loadSettings(m_db).rates;
            } catch (const sql::Error&) {
                return ledger::defaultFeeRates();
            }
        },
        this);
    m_generic->hide();
    outer->addWidget(m_generic, 1);

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    outer->addWidget(m_progress);

    connect(m_brokers, &QComboBox::currentIndexChanged, this, [this] {
        if (genericChosen() != m_generic->isVisibleTo(this)) { // the file is read anew
            m_generic->setVisible(genericChosen());
            m_memoGroup->setVisible(!genericChosen());
            m_textKind->parentWidget()->setVisible(!genericChosen()); // the kind is read
            m_csvGroup->hide();
            m_import->setEnabled(false);
        }
        if (!genericChosen())
            m_memoGroup->setTitle(exchange::importListCaption(layout()));
    });
    connect(m_generic, &GenericImportPanel::statementChanged, this, [this] {
        if (genericChosen()) // a workbook read in the background may end after a switch
            m_import->setEnabled(!exchange::nothingToImport(m_generic->statement()).has_value());
    });
    connect(m_textKind, &QRadioButton::clicked, this,
            [this] { m_kind = exchange::ImportFileKind::Text; });
    connect(m_csvKind, &QRadioButton::clicked, this,
            [this] { m_kind = exchange::ImportFileKind::Csv; });
    connect(m_browse, &QPushButton::clicked, this, &ImportWindow::browse);
    connect(m_import, &QPushButton::clicked, this, &ImportWindow::startImport);
    resize(760, 520);
    rememberPlace(this, u"import"_s);
}

const exchange::StatementLayout& ImportWindow::layout() const
{
    const auto& layouts = exchange::statementLayouts();
    return layouts.at(qBound(0, m_brokers->currentIndex(), int(layouts.size()) - 1));
}

bool ImportWindow::genericChosen() const
{
    return m_brokers->currentIndex() == exchange::statementLayouts().size();
}

bool ImportWindow::importing() const
{
    return m_run.running();
}

void ImportWindow::browse()
{
    const QString path =
        m_files.openFile(genericChosen() ? exchange::genericFileFilter()
                                         : exchange::importFileFilters(m_kind).join(u";;"_s));
    comeToFront();
    if (!path.isEmpty())
        openFile(path);
}

void ImportWindow::openFile(const QString& path)
{
    m_path->setText(path);
    if (genericChosen()) {
        m_generic->openFile(path); // enables the import when it reads a trade
        return;
    }
    const QByteArray bytes = readAll(path);
    m_memo->setPlainText(exchange::decodeStatement(bytes));
    m_import->setEnabled(true);
    m_csvGroup->hide();
    m_memoGroup->show();
    if (!m_csvKind->isChecked())
        return;
    m_csvModel->setRows(exchange::readCsvFile(bytes));
    m_memoGroup->hide();
    m_csvGroup->show();
    m_import->setEnabled(false);
}

void ImportWindow::loadMemo()
{
    m_memo->setPlainText(exchange::decodeStatement(readAll(m_path->text())));
}

namespace {

// The import's questions as message boxes over the window.
class ImportBoxes : public exchange::ImportAnswers {
public:
    explicit ImportBoxes(std::function<bool(const QString&, Prompter::Default)> ask)
        : m_ask(std::move(ask))
    {
    }
    bool skipDuplicates(const QString& question) override
    {
        return m_ask(question, Prompter::Default::Yes);
    }
    bool proceed(qsizetype, qsizetype) override
    {
        return m_ask(texts::proceedQuestion.toString(), Prompter::Default::No);
    }
    bool replaceLedger() override
    {
        return m_ask(texts::replaceQuestion.toString(), Prompter::Default::No);
    }

private:
    std::function<bool(const QString&, Prompter::Default)> m_ask;
};

} // namespace

void ImportWindow::startImport()
{
    if (importing())
        return;
    m_import->setEnabled(false);
    const bool generic = genericChosen();
    exchange::StatementToImport statement =
        generic
            ? exchange::toImport(m_generic->statement())
            : exchange::toImport(
                  exchange::parseStatement(QStringView(m_memo->toPlainText()), layout()), layout());
    m_statement = statement.parsed;
    if (!generic || !statement.refusal) {
        QStringList shown;
        for (const exchange::StatementLine& line : m_statement.dataLines)
            shown << line.text;
        m_memo->setPlainText(shown.join(u'\n'));
    }

    ImportBoxes boxes([this](const QString& question, Prompter::Default preferred) {
        return ask(question, preferred);
    });
    exchange::StatementImportRun::Started started;
    try {
        started = m_run.start(statement, boxes);
    } catch (const sql::Error& error) {
        tell(u"无法读取账本（"_s + error.message() + u"）。"_s);
        m_import->setEnabled(true);
        return;
    } catch (const ledger::BackupError& error) {
        tell(u"没有导入："_s + error.message());
        m_import->setEnabled(true);
        return;
    }
    if (started.start == exchange::StatementImportRun::Start::Refused) {
        tell(started.refusal);
        m_import->setEnabled(true);
        if (!generic) // a generic statement shows in its own preview
            loadMemo();
        return;
    }
    if (started.start == exchange::StatementImportRun::Start::Declined) {
        m_import->setEnabled(true);
        loadMemo();
        return;
    }
    m_progress->setRange(0, qMax<int>(1, int(m_run.total())));
    m_progress->setValue(0);
    setRunModal(*this, true);
    m_slices->start();
}

bool ImportWindow::ask(const QString& question, Prompter::Default preferred)
{
    const bool yes =
        m_prompter.askOver(this, texts::questionCaption.toString(), question, preferred);
    comeToFront();
    return yes;
}

void ImportWindow::tell(const QString& message)
{
    m_prompter.informOver(this, message);
    comeToFront();
}

// The questions and the file dialog are the window's own; when they close the
// window stays above the main window, its list in view.
void ImportWindow::comeToFront()
{
    if (!isVisible())
        return;
    raise();
    activateWindow();
}

void ImportWindow::importSlice()
{
    m_run.applyNext(sliceLines);
    m_progress->setValue(int(m_run.done()));
    if (m_run.atEnd())
        endImport();
}

void ImportWindow::endImport()
{
    m_slices->stop();
    setRunModal(*this, false); // while importing() holds: no shown/hidden signals
    const ledger::StatementImportOutcome outcome = m_run.finish();
    m_import->setEnabled(outcome.committed);
    tell(exchange::importReport(m_statement, outcome));
    Q_EMIT importEnded(outcome.committed);
}

void ImportWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!importing())
        Q_EMIT shownChanged(true);
}

void ImportWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!importing())
        Q_EMIT shownChanged(false);
}

void ImportWindow::closeEvent(QCloseEvent* event)
{
    if (importing())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

} // namespace corvanta::windows
