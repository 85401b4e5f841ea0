# tests of trades and the stock table
corvanta_gtest(test_ledger_trades
    ${CMAKE_CURRENT_LIST_DIR}/StockTableTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/OpenPositionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TradeEntryTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TradeRecordingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TradeDeletionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TradeAtomicityTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TradeSequenceTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerViewTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerWriterTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StockEventLedgerTest.cpp
)
target_link_libraries(test_ledger_trades PRIVATE corvanta_ledger Qt6::Test)

corvanta_gtest(test_ledger_monitor_list ${CMAKE_CURRENT_LIST_DIR}/MonitorListTest.cpp)
target_link_libraries(test_ledger_monitor_list PRIVATE corvanta_ledger Qt6::Test)
