# benchmarks (start-up to the shown main window, under the offscreen platform)
if(CORVANTA_GUI AND TARGET Qt6::Test)
    add_executable(bench_app ${CMAKE_CURRENT_LIST_DIR}/AppBench.cpp)
    target_link_libraries(bench_app
        PRIVATE corvanta_app corvanta_bench_ledger Qt6::Test benchmark::benchmark corvanta_options)
    # The charts it opens come from this build's module, as the program's do.
    target_compile_definitions(bench_app PRIVATE
        CORVANTA_CHARTS_MODULE_FILE="$<TARGET_FILE:corvanta-charts>")
    add_dependencies(bench_app corvanta-charts)
endif()

# benchmarks (drawing the account charts)
if(CORVANTA_GUI)
    add_executable(bench_charts ${CMAKE_CURRENT_LIST_DIR}/ChartsBench.cpp)
    target_link_libraries(bench_charts
        PRIVATE corvanta_charts corvanta_bench_ledger benchmark::benchmark corvanta_options)
    add_executable(bench_yearly ${CMAKE_CURRENT_LIST_DIR}/YearlyBench.cpp)
    target_link_libraries(bench_yearly
        PRIVATE corvanta_windows corvanta_bench_ledger benchmark::benchmark corvanta_options)
endif()

# benchmarks (the ledger grid on a 100,000-trade ledger against a 100-trade one)
if(CORVANTA_GUI AND TARGET Qt6::Test)
    add_executable(bench_ledger_grid ${CMAKE_CURRENT_LIST_DIR}/LedgerGridBench.cpp)
    target_link_libraries(bench_ledger_grid
        PRIVATE corvanta_app corvanta_bench_ledger Qt6::Test benchmark::benchmark corvanta_options)
endif()
