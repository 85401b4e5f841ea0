# Any broker's statement read by its column names: separated text, .xls and .xlsx.
find_package(QuaZip-Qt6 REQUIRED)
pkg_check_modules(FREEXL REQUIRED IMPORTED_TARGET freexl)
target_sources(corvanta_exchange PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ColumnSynonyms.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementColumns.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StatementWorkbooks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XlsCells.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XlsWorkbookReading.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GenericStatement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GenericPreviewModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GenericMappingMemory.cpp
)
target_link_libraries(corvanta_exchange PRIVATE QuaZip::QuaZip)

# Legacy workbooks are parsed in a process of their own (a damaged one can fault
# inside the library): the reader lives beside the program in the build tree and
# in the package's libexec folder once installed.
include(GNUInstallDirs)
set(corvanta_reader_dir ${CMAKE_INSTALL_LIBEXECDIR}/corvanta)
file(RELATIVE_PATH corvanta_reader_from_bindir
    /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${corvanta_reader_dir})
target_compile_definitions(corvanta_exchange PRIVATE
    CORVANTA_READER_FROM_BINDIR="${corvanta_reader_from_bindir}")
add_executable(corvanta-xls-reader
    ${CMAKE_CURRENT_LIST_DIR}/XlsReaderMain.cpp ${CMAKE_CURRENT_LIST_DIR}/XlsCells.cpp)
target_link_libraries(corvanta-xls-reader PRIVATE Qt6::Core PkgConfig::FREEXL corvanta_options)
set_target_properties(corvanta-xls-reader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
