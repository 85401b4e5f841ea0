# Any broker's statement read by its column names: separated text, .xls and .xlsx.
find_package(QuaZip-Qt6 REQUIRED)
pkg_check_modules(FREEXL REQUIRED IMPORTED_TARGET freexl)
target_sources(corvanta_exchange PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ColumnSynonyms.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementColumns.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementWorkbooks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GenericStatement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GenericPreviewModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GenericMappingMemory.cpp
)
target_link_libraries(corvanta_exchange PRIVATE QuaZip::QuaZip PkgConfig::FREEXL)
