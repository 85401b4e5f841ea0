# the import window's statements read by their column names
corvanta_qtest(test_import_window_generic GenericImportWindowTest.cpp)
target_link_libraries(test_import_window_generic PRIVATE corvanta_windows)
target_compile_definitions(test_import_window_generic PRIVATE
    STATEMENT_WORKBOOKS="${PROJECT_BINARY_DIR}/tests/exchange/workbooks")
add_dependencies(test_import_window_generic statement_workbooks)
corvanta_uses_xls_reader(test_import_window_generic)
