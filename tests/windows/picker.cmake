# stock picker tests
corvanta_qtest(test_picker
    ${CMAKE_CURRENT_LIST_DIR}/StockPickerTest.cpp
)
target_link_libraries(test_picker PRIVATE corvanta_windows corvanta_test_support)
