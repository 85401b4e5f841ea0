# journal and memo window tests
corvanta_qtest(test_journal_windows
    ${CMAKE_CURRENT_LIST_DIR}/JournalWindowTest.cpp
)
target_link_libraries(test_journal_windows PRIVATE corvanta_windows)
