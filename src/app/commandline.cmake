# The command line: QtCore only, so that a build without windows
# (-DCORVANTA_GUI=OFF) has it too. Each command is a row of
# commands/CommandTable.cpp and a file of its own.
add_library(corvanta_commandline STATIC
    ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CommandLineProgram.cpp
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
target_include_directories(corvanta_commandline PUBLIC
    ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_BINARY_DIR}/generated)
target_link_libraries(corvanta_commandline
    PUBLIC Qt6::Core corvanta_ledger corvanta_report corvanta_exchange corvanta_calc
           corvanta_options)
