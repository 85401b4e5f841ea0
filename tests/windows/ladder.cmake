# profit/loss window tests
corvanta_qtest(test_profit_loss_window
    ${CMAKE_CURRENT_LIST_DIR}/ProfitLossWindowTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/SampleTrade.h
)
target_link_libraries(test_profit_loss_window PRIVATE corvanta_windows corvanta_test_support)

# Not a test: the window with a fake priced buy, to look at under a display.
add_executable(ladder_preview ${CMAKE_CURRENT_LIST_DIR}/LadderPreview.cpp)
target_link_libraries(ladder_preview PRIVATE corvanta_windows corvanta_test_support corvanta_options)
