# journal and memo window tests
corvanta_qtest(test_journal_windows
    ${CMAKE_CURRENT_LIST_DIR}/JournalWindowTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/SampleTrade.h
)
target_link_libraries(test_journal_windows PRIVATE corvanta_windows corvanta_test_support)
