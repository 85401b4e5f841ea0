# The ledger file, its seed list and settings rows.
target_sources(corvanta_ledger PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/SeedList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QuoteServerSetting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerLock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QuoteSourceSetting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FeeRuleSetting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerBackup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerRestore.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RestoreRun.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BackupRowCheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ErrorWords.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SafetyCopies.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerOwnFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LedgerPassword.cpp
)

# The shipped stock list, read as ":/data/seed-stocks.txt". For a static library
# qt_add_resources builds an object library that every consumer links, so the
# resource's initialiser is never dropped by the linker.
qt_add_resources(corvanta_ledger seed_stocks
    PREFIX "/"
    BASE ${PROJECT_SOURCE_DIR}
    FILES ${PROJECT_SOURCE_DIR}/data/seed-stocks.txt
)
