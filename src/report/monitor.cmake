# The live monitor's summary figures, grid and floating-bar lines, priced from
# quote record lines (the session that fetches them lives in monitor/).
target_sources(corvanta_report PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MonitorFigures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorGridUpdate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorTableModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TickerRotation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorTexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IndexLabels.cpp
)
target_link_libraries(corvanta_report PUBLIC corvanta_quote_records)
