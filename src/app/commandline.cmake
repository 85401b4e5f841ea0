# The subcommands run without a display: these files use no widgets.
target_sources(corvanta_app PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CsvExport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PasswordCommand.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PasswordInput.cpp
)
target_link_libraries(corvanta_app PUBLIC corvanta_report)
