# benchmarks (a monitor refresh cycle without the network; target under 20 ms)
add_executable(bench_monitor ${CMAKE_CURRENT_LIST_DIR}/MonitorBench.cpp)
target_link_libraries(bench_monitor PRIVATE corvanta_report benchmark::benchmark corvanta_options)
