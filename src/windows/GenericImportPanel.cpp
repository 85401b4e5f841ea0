#include "GenericImportPanel.h"

#include "exchange/GenericMappingMemory.h"
#include "exchange/GenericPreviewModel.h"
#include "exchange/StatementWorkbooks.h"
#include "exchange/XlsWorkbookReading.h"

#include <QColor>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

using namespace Qt::StringLiterals;

namespace corvanta::windows {

namespace {

using exchange::StatementField;

// Draws each preview line in the colour the model gives it.
class PreviewColours : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::ForegroundRole) {
            const QVariant rgb =
                QIdentityProxyModel::data(index, exchange::GenericPreviewModel::RowColourRole);
            if (rgb.isValid())
                return QColor::fromRgb(QRgb(rgb.toUInt()));
        }
        return QIdentityProxyModel::data(index, role);
    }
};

constexpr int columnsOfChoices = 4;

} // namespace

GenericImportPanel::GenericImportPanel(std::function<FeeRates()> rates, QWidget* parent)
    : QGroupBox(u"通用交割单（按列名识别）"_s, parent), m_rates(std::move(rates)),
      m_settings(std::make_unique<QSettings>())
{
    build();
}

GenericImportPanel::~GenericImportPanel() = default;

void GenericImportPanel::useSettings(std::unique_ptr<QSettings> settings)
{
    m_settings = std::move(settings);
}

void GenericImportPanel::build()
{
    auto* layout = new QVBoxLayout(this);
    m_description = new QLabel(u"请选择交割单文件（文本、.xls 或 .xlsx）。"_s, this);
    m_description->setWordWrap(true);
    m_description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_description);

    auto* grid = new QGridLayout;
    for (int i = 0; i < exchange::statementFieldCount; ++i) {
        const auto field = StatementField(i);
        auto* label = new QLabel(exchange::fieldTitle(field), this);
        auto* choice = new QComboBox(this);
        choice->setObjectName(exchange::fieldKey(field));
        choice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        label->setBuddy(choice);
        m_choices[std::size_t(i)] = choice;
        grid->addWidget(label, i / columnsOfChoices, (i % columnsOfChoices) * 2, Qt::AlignRight);
        grid->addWidget(choice, i / columnsOfChoices, (i % columnsOfChoices) * 2 + 1);
        connect(choice, &QComboBox::currentIndexChanged, this, &GenericImportPanel::columnChosen);
    }
    layout->addLayout(grid);

    m_model = new exchange::GenericPreviewModel(this);
    auto* coloured = new PreviewColours(this);
    coloured->setSourceModel(m_model);
    m_preview = new QTableView(this);
    m_preview->setModel(coloured);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->verticalHeader()->hide();
    m_preview->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_preview, 1);
}

void GenericImportPanel::openFile(const QString& path)
{
    delete std::exchange(m_reading, nullptr); // a workbook still read is no longer wanted
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_table = {};
        m_table.error = file.errorString();
        tableRead();
        return;
    }
    const QByteArray bytes = file.readAll();
    if (!exchange::isXlsWorkbook(bytes)) {
        m_table = exchange::readStatementTable(bytes);
        tableRead();
        return;
    }
    m_table = {};
    display(exchange::GenericStatement{}); // nothing to import while it is read
    m_description->setText(u"正在读取 Excel 文件……"_s);
    m_reading = new exchange::XlsWorkbookReading(bytes, std::chrono::seconds(10), this);
    connect(m_reading, &exchange::XlsWorkbookReading::finished, this,
            [this](const exchange::StatementTable& table) {
                m_table = table;
                m_reading->deleteLater();
                m_reading = nullptr;
                tableRead();
            });
    m_reading->start();
}

void GenericImportPanel::tableRead()
{
    exchange::GenericStatement statement = exchange::readGenericStatement(m_table, m_rates());
    if (statement.headerRow >= 0) {
        const auto remembered =
            exchange::GenericMappingMemory(*m_settings).recall(statement.header());
        if (remembered)
            statement = exchange::readGenericStatement(m_table, m_rates(), remembered);
    }
    display(std::move(statement));
}

void GenericImportPanel::display(exchange::GenericStatement statement)
{
    m_statement = std::move(statement);
    QStringList lines = exchange::describeStatement(m_statement);
    lines = lines.mid(0, 2); // the mapping itself is in the drop-downs
    if (const auto refusal = exchange::nothingToImport(m_statement))
        lines << *refusal;
    else
        lines << u"可导入 %1 笔交易；跳过 %2 行，无法识别 %3 行，警告 %4 行。"_s
                     .arg(m_statement.parsed.trades.size())
                     .arg(m_statement.parsed.skipped.size())
                     .arg(m_statement.parsed.refused.size())
                     .arg(m_statement.warnings.size());
    m_description->setText(lines.join(u'\n'));

    m_filling = true;
    const QStringList header = m_statement.header();
    for (int i = 0; i < exchange::statementFieldCount; ++i) {
        QComboBox* choice = m_choices[std::size_t(i)];
        choice->clear();
        choice->addItem(u"（无）"_s, -1);
        for (qsizetype column = 0; column < header.size(); ++column)
            choice->addItem(u"%1. %2"_s.arg(column + 1).arg(header.at(column)), int(column));
        choice->setCurrentIndex(choice->findData(m_statement.mapping.columns[std::size_t(i)]));
        choice->setEnabled(m_statement.headerRow >= 0);
    }
    m_filling = false;
    m_model->setStatement(m_statement);
    m_preview->resizeColumnsToContents();
    Q_EMIT statementChanged();
}

void GenericImportPanel::columnChosen()
{
    if (m_filling || m_statement.headerRow < 0)
        return;
    exchange::ColumnMapping mapping;
    for (int i = 0; i < exchange::statementFieldCount; ++i)
        mapping.columns[std::size_t(i)] = m_choices[std::size_t(i)]->currentData().toInt();
    exchange::GenericMappingMemory(*m_settings).remember(m_statement.header(), mapping);
    display(exchange::readGenericStatement(m_table, m_rates(), mapping));
}

} // namespace corvanta::windows
