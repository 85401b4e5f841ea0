# benchmarks (start-up to the shown main window, under the offscreen platform)
if(CORVANTA_GUI AND TARGET Qt6::Test)
    add_executable(bench_app ${CMAKE_CURRENT_LIST_DIR}/AppBench.cpp)
    target_link_libraries(bench_app
        PRIVATE corvanta_app Qt6::Test benchmark::benchmark corvanta_options)
endif()

# benchmarks (drawing the account charts)
if(CORVANTA_GUI)
    add_executable(bench_charts ${CMAKE_CURRENT_LIST_DIR}/ChartsBench.cpp)
    target_link_libraries(bench_charts
        PRIVATE corvanta_windows benchmark::benchmark corvanta_options)
    add_executable(bench_yearly ${CMAKE_CURRENT_LIST_DIR}/YearlyBench.cpp)
    target_link_libraries(bench_yearly
        PRIVATE corvanta_windows benchmark::benchmark corvanta_options)
endif()
