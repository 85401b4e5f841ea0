# The monitor window, the floating bar and the small windows around them.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MonitorHeadPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorQuotePanels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorHeadController.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TickerBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UsageNotesWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorFontWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CodeLookupWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DateRangeDialog.cpp
)
target_link_libraries(corvanta_windows PUBLIC corvanta_report corvanta_monitor)

# The usage notes: copied beside the program when configured, installed in its
# data folder, and built in for a program copied alone.
set_source_files_properties(${PROJECT_SOURCE_DIR}/data/使用说明.txt
    PROPERTIES QT_RESOURCE_ALIAS usage-notes.txt)
qt_add_resources(corvanta_windows usage_notes
    PREFIX /corvanta
    BASE ${PROJECT_SOURCE_DIR}/data
    FILES ${PROJECT_SOURCE_DIR}/data/使用说明.txt)
configure_file(${PROJECT_SOURCE_DIR}/data/使用说明.txt ${PROJECT_BINARY_DIR}/使用说明.txt COPYONLY)
include(GNUInstallDirs)
install(FILES ${PROJECT_SOURCE_DIR}/data/使用说明.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/corvanta)
