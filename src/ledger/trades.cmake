# Trade recording, deletion, the ledger grid's data and the stock table.
target_sources(corvanta_ledger PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StockTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TradeEntry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StockRows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TradeRecording.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TradeDeletion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OpenPositions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerEventRows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerWriter.cpp
)

# A stock's corporate actions (分红送配) and the open position they change.
target_sources(corvanta_ledger PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StockHoldings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EventEntry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EventLedger.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RightsSubscription.cpp
)

# Writing a broker statement's trades in one transaction.
target_sources(corvanta_ledger PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StatementRecording.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementDuplicates.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementImport.cpp
)

# The monitor list's marks.
target_sources(corvanta_ledger PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MonitorList.cpp)
