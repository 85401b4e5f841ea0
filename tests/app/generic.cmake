# tests of importing any broker's statement from the command line
corvanta_qtest(test_app_generic_import GenericImportCommandTest.cpp)
target_link_libraries(test_app_generic_import PRIVATE corvanta_app)
target_compile_definitions(test_app_generic_import PRIVATE
    STATEMENT_WORKBOOKS="${PROJECT_BINARY_DIR}/tests/exchange/workbooks")
add_dependencies(test_app_generic_import statement_workbooks)
