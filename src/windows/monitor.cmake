# The monitor window, the floating bar and the small windows around them.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MonitorHeadPanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorQuotePanels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorHeadController.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MonitorWindow.cpp
)
target_link_libraries(corvanta_windows PUBLIC corvanta_report)
