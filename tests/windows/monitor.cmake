# monitor window, floating bar and small windows
corvanta_qtest(test_monitor_window ${CMAKE_CURRENT_LIST_DIR}/MonitorWindowTest.cpp)
target_link_libraries(test_monitor_window PRIVATE corvanta_windows corvanta_quote_server)

corvanta_qtest(test_ticker_bar ${CMAKE_CURRENT_LIST_DIR}/TickerBarTest.cpp)
target_link_libraries(test_ticker_bar PRIVATE corvanta_windows corvanta_quote_server)
