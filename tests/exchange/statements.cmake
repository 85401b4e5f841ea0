# tests of reading broker statements and writing them into the ledger
corvanta_gtest(test_exchange_statements
    ${CMAKE_CURRENT_LIST_DIR}/StatementParserTest.cpp
)
target_link_libraries(test_exchange_statements PRIVATE corvanta_exchange)
target_sources(test_exchange_statements PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StatementImportTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImportTextsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementFileTest.cpp
)
