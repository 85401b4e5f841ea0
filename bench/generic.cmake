# benchmarks (statements read by their column names)
add_executable(bench_generic ${CMAKE_CURRENT_LIST_DIR}/GenericBench.cpp)
target_link_libraries(bench_generic
    PRIVATE corvanta_exchange corvanta_ledger benchmark::benchmark corvanta_options)
