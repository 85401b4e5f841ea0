# The account chart window and the yearly statement.
target_sources(corvanta_windows PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/YearlyStatementWindow.cpp
)
target_link_libraries(corvanta_windows PUBLIC corvanta_report)

# The account charts are the only user of Qt Charts (and through it OpenGL): they
# live in a module the program loads the first time they open
# (app::AccountChartsLoader), so that a start does not map those libraries. The
# module sits beside the program in the build tree and in the package's library
# folder once installed. corvanta_charts is the window itself, for the module and
# for benchmarks that draw it directly.
add_library(corvanta_charts STATIC ${CMAKE_CURRENT_LIST_DIR}/AccountChartWindow.cpp)
target_link_libraries(corvanta_charts PUBLIC Qt6::Charts corvanta_windows corvanta_report)
add_library(corvanta-charts MODULE ${CMAKE_CURRENT_LIST_DIR}/AccountChartsPlugin.cpp)
target_link_libraries(corvanta-charts PRIVATE corvanta_charts corvanta_options)
set_target_properties(corvanta-charts PROPERTIES
    PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}
    # Its own copies of the program's code stay its own.
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
target_link_options(corvanta-charts PRIVATE -Wl,--exclude-libs,ALL -Wl,--no-undefined)
