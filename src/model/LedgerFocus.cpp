#include "LedgerFocus.h"

namespace corvanta::model {

void LedgerFocus::setRecord(const std::optional<FocusedRecord>& record)
{
    if (record == m_record)
        return;
    m_record = record;
    Q_EMIT recordChanged();
}

void LedgerFocus::setView(LedgerViewKind view)
{
    changeView(view, view);
}

void LedgerFocus::selectView(LedgerViewKind view)
{
    changeView(m_view, view);
}

void LedgerFocus::changeView(LedgerViewKind shown, LedgerViewKind selected)
{
    if (shown == m_view && selected == m_selected)
        return;
    m_view = shown;
    m_selected = selected;
    Q_EMIT viewChanged();
    // The summary takes the record label's place.
    if (shown == LedgerViewKind::Summary)
        setRecordLabel(std::nullopt);
}

void LedgerFocus::setRecordLabel(const std::optional<QString>& label)
{
    if (label == m_recordLabel)
        return;
    m_recordLabel = label;
    Q_EMIT recordLabelChanged();
}

void LedgerFocus::setSortOrder(ledger::LedgerSortOrder order)
{
    if (order == m_sortOrder)
        return;
    m_sortOrder = order;
    Q_EMIT sortOrderChanged();
}

} // namespace corvanta::model
