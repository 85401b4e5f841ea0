# The totals report of the last summary.
target_sources(corvanta_windows PRIVATE ${CMAKE_CURRENT_LIST_DIR}/TotalsReportWindow.cpp)
target_link_libraries(corvanta_windows PUBLIC corvanta_report)
