# Reading broker statements; the ledger writes what they hold.
target_sources(corvanta_exchange PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StatementLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementParser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ImportTexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementImportRun.cpp
)
target_link_libraries(corvanta_exchange PUBLIC corvanta_calc corvanta_ledger)
