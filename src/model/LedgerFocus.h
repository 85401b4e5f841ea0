#pragma once

#include "calc/FeeRates.h"
#include "ledger/LedgerView.h"

#include <QObject>
#include <QString>

#include <optional>

namespace corvanta::model {

// The ledger box shows either the grid of trades or the summary of positions.
enum class LedgerViewKind { Ledger, Summary };

// The trade under the ledger grid's cursor.
struct FocusedRecord {
    qint64 id = 0;
    QString code;
    Direction direction = Direction::Buy;
    bool monitored = false; // on the monitor list
    bool operator==(const FocusedRecord&) const = default;
};

// Where the user is in the ledger box: the current record, the view on show and the
// grid's sort order. The controllers change it; the main window shows it. Each
// setter announces a real change once and nothing else.
class LedgerFocus : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const std::optional<FocusedRecord>& record() const { return m_record; }
    void setRecord(const std::optional<FocusedRecord>& record);

    // The grid on show.
    LedgerViewKind view() const { return m_view; }
    // The view the selector names: a summary asked for shows there while its
    // quotes are still being fetched and the ledger grid still shows.
    LedgerViewKind selectedView() const { return m_selected; }
    // The view is on show and the selector names it.
    void setView(LedgerViewKind view);
    // The selector names the view, which is on its way (or refused, when the view
    // on show is set again).
    void selectView(LedgerViewKind view);

    // The label ("股票名:股票代码") of the trade loaded into the inputs from the grid,
    // shown over it; none once the inputs hold no row or the summary shows.
    const std::optional<QString>& recordLabel() const { return m_recordLabel; }
    void setRecordLabel(const std::optional<QString>& label);

    ledger::LedgerSortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(ledger::LedgerSortOrder order);

Q_SIGNALS:
    void recordChanged();
    // The view on show or the one the selector names changed.
    void viewChanged();
    void sortOrderChanged();
    void recordLabelChanged();

private:
    void changeView(LedgerViewKind shown, LedgerViewKind selected);

    std::optional<FocusedRecord> m_record;
    std::optional<QString> m_recordLabel;
    LedgerViewKind m_view = LedgerViewKind::Ledger;
    LedgerViewKind m_selected = LedgerViewKind::Ledger;
    ledger::LedgerSortOrder m_sortOrder = ledger::LedgerSortOrder::ByDate;
};

} // namespace corvanta::model
