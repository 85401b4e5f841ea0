#pragma once

#include <QtGlobal>

#include <algorithm>
#include <vector>

namespace corvanta::report {

// Sorts rows stably into the order of `before`. Where every row has a small
// key (at least 0, below 2^31) whose order is that of `before`, the keys are
// sorted with the rows' positions and the rows moved once: a long ledger's
// rows are too large to be merged about cheaply. A row without a key (-1)
// sorts them all with `before`.
template <typename Row, typename KeyOf, typename Before>
void sortByDate(std::vector<Row>& rows, KeyOf keyOf, Before before)
{
    // Rows entered day by day are in that order already: the look costs one pass.
    if (std::is_sorted(rows.begin(), rows.end(), before))
        return;
    std::vector<quint64> order;
    order.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const qint64 key = keyOf(rows[i]);
        if (key < 0 || key >= (qint64(1) << 31)) {
            std::stable_sort(rows.begin(), rows.end(), before);
            return;
        }
        order.push_back(quint64(key) << 32 | quint64(i)); // equal keys keep their order
    }
    std::sort(order.begin(), order.end());
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const quint64 place : order)
        sorted.push_back(std::move(rows[std::size_t(place & 0xffffffffu)]));
    rows = std::move(sorted);
}

} // namespace corvanta::report
