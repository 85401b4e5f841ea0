# tests of the SQL layer itself
corvanta_gtest(test_ledger_sql
    ${CMAKE_CURRENT_LIST_DIR}/sql/StatementTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sql/TransactionTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sql/BackupTest.cpp
)
target_link_libraries(test_ledger_sql PRIVATE corvanta_ledger)
