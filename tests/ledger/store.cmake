# tests of the ledger file, seed list and settings
corvanta_gtest(test_ledger_store
    ${CMAKE_CURRENT_LIST_DIR}/SeedListTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerFileTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QuoteServerSettingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerLockTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QuoteSourceSettingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FeeRuleSettingTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BackupRestoreTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerPasswordTest.cpp
)
target_link_libraries(test_ledger_store PRIVATE corvanta_ledger corvanta_exchange)
