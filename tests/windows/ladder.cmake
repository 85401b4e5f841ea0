# profit/loss window tests
corvanta_qtest(test_profit_loss_window
    ${CMAKE_CURRENT_LIST_DIR}/ProfitLossWindowTest.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/SampleTrade.h
)
target_link_libraries(test_profit_loss_window PRIVATE corvanta_windows corvanta_test_support)
