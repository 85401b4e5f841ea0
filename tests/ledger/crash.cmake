# The kill test: ledger operations killed at every file change and at random times.
corvanta_gtest(test_ledger_crash
    ${CMAKE_CURRENT_LIST_DIR}/crash/KillTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crash/KillingVfs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crash/CrashOperations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crash/ListSettingsJournalOperations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crash/CopyOperations.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crash/PasswordOperations.cpp
)
target_link_libraries(test_ledger_crash PRIVATE corvanta_ledger corvanta_journal
    PkgConfig::SQLCIPHER)
target_compile_definitions(test_ledger_crash PRIVATE SQLITE_HAS_CODEC)
