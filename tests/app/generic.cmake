# tests of importing any broker's statement from the command line
corvanta_qtest(test_app_generic_import GenericImportCommandTest.cpp)
target_link_libraries(test_app_generic_import PRIVATE corvanta_commandline)
target_compile_definitions(test_app_generic_import PRIVATE
    STATEMENT_WORKBOOKS="${PROJECT_BINARY_DIR}/tests/exchange/workbooks")
add_dependencies(test_app_generic_import statement_workbooks)
corvanta_uses_xls_reader(test_app_generic_import)
# The program itself, copied as built and as installed, with its reader.
target_compile_definitions(test_app_generic_import PRIVATE
    CORVANTA_PROGRAM="$<TARGET_FILE:corvanta>")
add_dependencies(test_app_generic_import corvanta)
