# tests of reading any broker's statement by its column names
find_program(DEBIAN_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(statement_workbooks ${CMAKE_CURRENT_BINARY_DIR}/workbooks)
add_custom_command(
    OUTPUT ${statement_workbooks}/statement.xls ${statement_workbooks}/statement.xlsx
    COMMAND ${DEBIAN_PYTHON3} ${PROJECT_SOURCE_DIR}/tools/statements/make-workbooks.py
            ${statement_workbooks}
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/statements/make-workbooks.py
    COMMENT "Writing the test workbooks")
add_custom_target(statement_workbooks
    DEPENDS ${statement_workbooks}/statement.xls ${statement_workbooks}/statement.xlsx)

corvanta_gtest(test_exchange_generic
    ${CMAKE_CURRENT_LIST_DIR}/GenericStatementTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GenericLayoutsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XlsReaderTest.cpp
)
target_link_libraries(test_exchange_generic PRIVATE corvanta_exchange)
target_compile_definitions(test_exchange_generic PRIVATE
    STATEMENT_WORKBOOKS="${statement_workbooks}")
add_dependencies(test_exchange_generic statement_workbooks)

# Legacy workbooks are read by the reader program of this build.
function(corvanta_uses_xls_reader test)
    target_compile_definitions(${test} PRIVATE
        XLS_READER="$<TARGET_FILE:corvanta-xls-reader>"
        DAMAGED_WORKBOOK="${PROJECT_SOURCE_DIR}/tests/exchange/workbooks/damaged-strings.xls")
    add_dependencies(${test} corvanta-xls-reader)
endfunction()
corvanta_uses_xls_reader(test_exchange_generic)
