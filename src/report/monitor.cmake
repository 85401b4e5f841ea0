# The live monitor: its summary figures, grid, floating-bar lines and the
# session that runs its passes and cycles on the fetch layer.
target_sources(corvanta_report PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MonitorFigures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorGridUpdate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorTableModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TickerRotation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorTexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/IndexLabels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorSession.cpp
)
target_link_libraries(corvanta_report PUBLIC corvanta_market)
