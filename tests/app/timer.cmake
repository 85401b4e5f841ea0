# tests of the pauses of the main window's 2-second timer
corvanta_gtest(test_app_timer_pauses ${CMAKE_CURRENT_LIST_DIR}/MainTimerPausesTest.cpp)
target_link_libraries(test_app_timer_pauses PRIVATE corvanta_app)
