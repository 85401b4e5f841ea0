# Trade recording, deletion and the stock table.
target_sources(corvanta_ledger PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StockTable.cpp
)
