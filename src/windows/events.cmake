# The 分红送配 window of a stock.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/StockEventTableModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StockEventWindow.cpp
)
target_link_libraries(corvanta_windows PUBLIC corvanta_report)
