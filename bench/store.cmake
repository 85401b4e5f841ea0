# benchmarks (store)
add_executable(bench_store ${CMAKE_CURRENT_LIST_DIR}/StoreBench.cpp)
target_link_libraries(bench_store PRIVATE corvanta_ledger benchmark::benchmark corvanta_options)
