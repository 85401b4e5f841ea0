# benchmarks (position summary)
add_executable(bench_report ${CMAKE_CURRENT_LIST_DIR}/ReportBench.cpp)
target_link_libraries(bench_report PRIVATE corvanta_report corvanta_bench_ledger benchmark::benchmark corvanta_options)
