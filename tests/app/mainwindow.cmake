# widget tests of the main window, typing into its real fields
corvanta_qtest(test_mainwindow
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestFees.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestPicker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestLedger.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestSellTargets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowTestDisplay.cpp
)
target_link_libraries(test_mainwindow PRIVATE corvanta_app)
