#include "LedgerTableModel.h"

#include "ledger/LedgerEventRows.h"
#include "ledger/sql/Database.h"

#include <QBrush>
#include <QColor>
#include <QMetaObject>

#include <algorithm>

namespace corvanta::app {

namespace {

// Rows read at once: a few screens of the grid.
constexpr int blockRows = 256;
// Blocks kept: the shown rows and those around the current row.
constexpr std::size_t keptBlocks = 8;
// Rows whose IDs are read at start, at least: the grid's end and a few screens above.
constexpr qsizetype lastRowsFirst = 2 * blockRows;

QColor colourOf(ledger::RowColour colour)
{
    switch (colour) {
    case ledger::RowColour::Buy:
        return Qt::red;
    case ledger::RowColour::MonitoredBuy:
        return Qt::magenta;
    case ledger::RowColour::Event:
        return QColor(0x00, 0x80, 0x00); // dark green
    case ledger::RowColour::Sell:
        break;
    }
    return Qt::blue;
}

} // namespace

LedgerTableModel::LedgerTableModel(sql::Database& db, QObject* parent)
    : QAbstractTableModel(parent), m_db(db)
{
}

void LedgerTableModel::reload(ledger::LedgerSortOrder order)
{
    QList<qint64> ids = ledger::ledgerRowIds(m_db, order);
    const bool showsEvents = std::any_of(ids.cbegin(), ids.cend(), ledger::isEventRowId);
    beginResetModel();
    m_order = order;
    m_ids = std::move(ids);
    m_unread = 0;
    m_showsEvents = showsEvents;
    forgetTexts();
    endResetModel();
}

void LedgerTableModel::readLast(ledger::LedgerSortOrder order)
{
    // Events take their places from the trades around them, and the pinyin order
    // of names needs every name: both read every ID.
    if (order != ledger::LedgerSortOrder::ByDate || ledger::gridHasEventRows(m_db)) {
        reload(order);
        return;
    }
    const qsizetype count = ledger::ledgerTradeCount(m_db);
    const qsizetype unread =
        count > lastRowsFirst ? (count - lastRowsFirst) / blockRows * blockRows : 0;
    QList<qint64> ids;
    if (unread > 0)
        ids = ledger::lastLedgerRowIdsByDate(m_db, count - unread);
    if (unread == 0 || ids.size() != count - unread) {
        reload(order);
        return;
    }
    beginResetModel();
    m_order = order;
    m_ids = std::move(ids);
    m_unread = unread;
    m_showsEvents = false;
    forgetTexts();
    endResetModel();
}

void LedgerTableModel::readEveryId()
{
    if (m_unread == 0)
        return;
    QList<qint64> ids = ledger::ledgerRowIds(m_db, m_order);
    if (ids.size() == rowCount() &&
        std::equal(m_ids.cbegin(), m_ids.cend(), ids.cbegin() + m_unread)) {
        // The same rows: the blocks read stay valid.
        m_ids = std::move(ids);
        m_unread = 0;
        return;
    }
    // The ledger was changed by another program since the last rows were read.
    // The grid reads its rows again, not from within the view's call that asked.
    QMetaObject::invokeMethod(
        this,
        [this] {
            try {
                reload(m_order);
            } catch (const sql::Error&) {
                // The rows stay as they were; the next change reads them again.
            }
        },
        Qt::QueuedConnection);
}

bool LedgerTableModel::readUnreadIds() const
{
    try {
        // The rows stay as they are, so this changes no state a view sees.
        const_cast<LedgerTableModel*>(this)->readEveryId();
    } catch (const sql::Error&) {
        return false;
    }
    return m_unread == 0;
}

bool LedgerTableModel::take(const ledger::TradeRowChange& change, ledger::LedgerSortOrder order)
{
    if (m_showsEvents || m_unread > 0)
        return false;
    return change.kind == ledger::TradeRowChange::Kind::Recorded ? insertTrade(change.id, order)
                                                                 : removeTrade(change.id);
}

bool LedgerTableModel::insertTrade(qint64 id, ledger::LedgerSortOrder order)
{
    if (m_ids.contains(id))
        return false;
    const std::optional<ledger::GridPlace> place = ledger::gridPlaceOf(m_db, id, order);
    if (!place)
        return false;
    qsizetype row = m_ids.size();
    if (place->kind != ledger::GridPlace::Kind::Last) {
        row = m_ids.indexOf(place->id);
        if (row < 0)
            return false; // the grid is out of date
        if (place->kind == ledger::GridPlace::Kind::After)
            ++row;
    }
    beginInsertRows({}, int(row), int(row));
    m_ids.insert(row, id);
    forgetTexts(); // the blocks after the row have moved

    endInsertRows();
    return true;
}

bool LedgerTableModel::removeTrade(qint64 id)
{
    const qsizetype row = m_ids.indexOf(id);
    if (row < 0)
        return false;
    beginRemoveRows({}, int(row), int(row));
    m_ids.remove(row);
    forgetTexts();
    endRemoveRows();
    return true;
}

void LedgerTableModel::forgetTexts()
{
    m_blocks.clear();
    m_lastBlock.reset();
}

std::shared_ptr<const LedgerTableModel::Block> LedgerTableModel::blockOf(int row) const
{
    const int block = row / blockRows;
    auto found = m_blocks.find(block);
    if (found != m_blocks.end()) {
        found->second.second = ++m_uses;
        return found->second.first;
    }
    const qsizetype first = qsizetype(block) * blockRows;
    if (first < m_unread) {
        // A row before the last ones is wanted first (scrolled to or moved to):
        // the IDs before them are read now.
        if (!readUnreadIds()) // unreadable, or changed and read again soon
            return std::make_shared<const Block>(
                Block(blockRows, ledger::LedgerRow{0, {}, {}, {}, ledger::RowColour::Sell}));
    }
    const qsizetype count = std::min<qsizetype>(blockRows, rowCount() - first);
    auto rows = std::make_shared<const Block>(ledger::ledgerRowsOf(
        m_db, std::span<const qint64>(m_ids.constData() + (first - m_unread), count)));
    if (m_blocks.size() >= keptBlocks) {
        const auto oldest =
            std::min_element(m_blocks.begin(), m_blocks.end(), [](const auto& a, const auto& b) {
                return a.second.second < b.second.second;
            });
        m_blocks.erase(oldest);
    }
    m_blocks.emplace(block, std::make_pair(rows, ++m_uses));
    return rows;
}

const ledger::LedgerRow* LedgerTableModel::rowAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    try {
        m_lastBlock = blockOf(row);
    } catch (const sql::Error&) {
        // Painting cannot report a failure: the row shows its ID only, and the
        // next change of the trades reads it again.
        m_lastBlock = std::make_shared<const Block>(Block{ledger::LedgerRow{
            row >= m_unread ? idAt(row) : 0, {}, {}, {}, ledger::RowColour::Sell}});
        return &m_lastBlock->constFirst();
    }
    return &(*m_lastBlock)[row % blockRows];
}

int LedgerTableModel::rowOf(qint64 id) const
{
    const qsizetype found = m_ids.indexOf(id);
    if (found >= 0)
        return int(m_unread + found);
    if (m_unread == 0 || !readUnreadIds())
        return -1;
    return int(m_ids.indexOf(id));
}

int LedgerTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_unread + m_ids.size());
}

int LedgerTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ledger::LedgerColumnCount;
}

QVariant LedgerTableModel::data(const QModelIndex& index, int role) const
{
    const ledger::LedgerRow* row = rowAt(index.row());
    if (!row)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return row->cells[std::size_t(index.column())];
    case Qt::ForegroundRole:
        return QBrush(colourOf(row->colour));
    default:
        return {};
    }
}

QVariant LedgerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ledger::LedgerColumnCount)
        return {};
    return m_titles[std::size_t(section)];
}

} // namespace corvanta::app
