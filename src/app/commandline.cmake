# The subcommands run without a display: these files use no widgets. Each
# command is a row of commands/CommandTable.cpp and a file of its own.
target_sources(corvanta_app PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CsvExport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/CommandTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/CommandRun.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/BackupCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/RestoreCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/ImportCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/ExportLedgerCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/ExportSummaryCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GenericImportCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/YearlyCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RepriceCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/ReportCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PasswordCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PasswordInput.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/PasswordCommandEntry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/EventsCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commands/AddEventCommand.cpp
)
target_link_libraries(corvanta_app PUBLIC corvanta_report)
