# tests of trades and the stock table
corvanta_gtest(test_ledger_trades
    ${CMAKE_CURRENT_LIST_DIR}/StockTableTest.cpp
)
target_link_libraries(test_ledger_trades PRIVATE corvanta_ledger)
