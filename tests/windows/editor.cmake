# stock editor tests
corvanta_qtest(test_editor StockEditorWindowTest.cpp)
target_link_libraries(test_editor PRIVATE corvanta_windows corvanta_test_support)
