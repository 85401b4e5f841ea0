# The account chart window and the yearly statement.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AccountChartWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/YearlyStatementWindow.cpp
)
target_link_libraries(corvanta_windows PUBLIC Qt6::Charts corvanta_report)
