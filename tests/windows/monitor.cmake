# monitor window, floating bar and small windows
corvanta_qtest(test_monitor_window ${CMAKE_CURRENT_LIST_DIR}/MonitorWindowTest.cpp)
target_link_libraries(test_monitor_window PRIVATE corvanta_windows corvanta_test_support corvanta_quote_server)

corvanta_qtest(test_ticker_bar ${CMAKE_CURRENT_LIST_DIR}/TickerBarTest.cpp)
target_link_libraries(test_ticker_bar PRIVATE corvanta_windows corvanta_test_support corvanta_quote_server)

# Not a test: the monitor and the floating bar on a local quote server.
add_executable(monitor_preview ${CMAKE_CURRENT_LIST_DIR}/MonitorPreview.cpp)
target_link_libraries(monitor_preview
    PRIVATE corvanta_windows corvanta_test_support corvanta_quote_server corvanta_options Qt6::Test)
