#include "JournalNotesPanel.h"

#include "JournalTableModel.h"
#include "journal/NoteTexts.h"

#include <QHeaderView>

#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace corvanta::windows {

JournalNotesPanel::JournalNotesPanel(JournalTableModel& model, QWidget* parent)
    : QGroupBox(journal::texts::listCaption.toString(), parent), m_grid(new QTableView(this))
{
    setObjectName(QStringLiteral("GroupBox1"));
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(&model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 4);
    m_grid->verticalHeader()->hide();
    fitColumns();
    connect(&model, &QAbstractItemModel::modelReset, this, &JournalNotesPanel::fitColumns);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::clicked, this, &JournalNotesPanel::noteChosen);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
}

void JournalNotesPanel::fitColumns()
{
    // The columns' own widths, widened where the texts of today's fonts need more.
    const auto widths = journal::journalColumnWidths();
    for (int column = 0; column < journal::JournalColumnCount; ++column) {
        m_grid->resizeColumnToContents(column);
        m_grid->setColumnWidth(column, std::max(widths[column], m_grid->columnWidth(column)));
    }
}

int JournalNotesPanel::currentRow() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void JournalNotesPanel::selectRow(int row)
{
    if (row < 0) {
        m_grid->setCurrentIndex({});
        return;
    }
    m_grid->selectRow(row);
    m_grid->setCurrentIndex(m_grid->model()->index(row, 0));
}

void JournalNotesPanel::markHeader()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::red);
    setPalette(colours);
}

bool JournalNotesPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyRelease) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Q_EMIT noteChosen();
            break;
        default:
            break;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace corvanta::windows
