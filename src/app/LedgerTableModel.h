#pragma once

#include "ledger/LedgerChanges.h"
#include "ledger/LedgerView.h"

#include <QAbstractTableModel>

#include <map>
#include <memory>

namespace corvanta::sql {
class Database;
}

namespace corvanta::app {

// The ledger grid's rows: the real trades with their texts and colours. It holds
// only the trades' IDs in the grid's order; the texts of a block of rows are read
// when the grid first shows one of them, and a few blocks are kept, so a ledger of
// any size costs the same to show. At start it may hold only the last rows' IDs and
// the number of the others (readLast); the others are read when a row among them
// is first wanted, before any change of the rows, or by readEveryId.
class LedgerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    LedgerTableModel(sql::Database& db, QObject* parent = nullptr);

    // Reads the trades' IDs in that order again. Throws sql::Error, keeping the
    // rows it had.
    void reload(ledger::LedgerSortOrder order);
    // Reads the last rows' IDs by date and counts the others, so the grid can show
    // its end without reading every ID; reads them all as reload does when the
    // order is by name, the grid shows events or the ledger is short. Throws
    // sql::Error, keeping the rows it had.
    void readLast(ledger::LedgerSortOrder order);
    // Whether every row's ID has been read.
    bool holdsEveryId() const { return m_unread == 0; }
    // Reads the IDs of the rows before the last ones, if not read yet; the rows
    // stay as they were. Throws sql::Error.
    void readEveryId();
    // Takes one recorded or deleted trade at its place in that order, without
    // reading the other IDs again; false, changing nothing, when its place is
    // not known that way (the grid shows events, whose places depend on the
    // trades, or a stock's first trade by name, or not every ID has been read:
    // the ledger has changed since). Throws sql::Error, keeping
    // the rows it had.
    bool take(const ledger::TradeRowChange& change, ledger::LedgerSortOrder order);
    // The row's trade; valid until the next call of rowAt or data. A row whose
    // texts cannot be read has its ID only.
    const ledger::LedgerRow* rowAt(int row) const;
    // The grid row of a trade ID, or -1.
    int rowOf(qint64 id) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    using Block = QList<ledger::LedgerRow>;
    std::shared_ptr<const Block> blockOf(int row) const;
    bool insertTrade(qint64 id, ledger::LedgerSortOrder order);
    bool removeTrade(qint64 id);
    void forgetTexts();
    // readEveryId for a const reader; false when the IDs could not be read.
    bool readUnreadIds() const;
    qint64 idAt(qsizetype row) const { return m_ids[row - m_unread]; }

    sql::Database& m_db;
    // The IDs of the rows from m_unread on; the first m_unread rows' are not read
    // yet. m_unread is a multiple of the block size, so a block is read or not.
    QList<qint64> m_ids;
    qsizetype m_unread = 0;
    ledger::LedgerSortOrder m_order = ledger::LedgerSortOrder::ByDate;
    bool m_showsEvents = false; // an event's row among m_ids
    // Blocks of rows by their first row's number / blockRows, the least recently
    // used dropped first.
    mutable std::map<int, std::pair<std::shared_ptr<const Block>, quint64>> m_blocks;
    mutable quint64 m_uses = 0;
    // The block of the row rowAt last gave, kept while its pointer is in use.
    mutable std::shared_ptr<const Block> m_lastBlock;
    std::array<QString, ledger::LedgerColumnCount> m_titles = ledger::ledgerColumnTitles();
};

} // namespace corvanta::app
