# benchmarks (restore)
add_executable(bench_restore ${CMAKE_CURRENT_LIST_DIR}/RestoreBench.cpp)
target_link_libraries(bench_restore PRIVATE corvanta_ledger benchmark::benchmark corvanta_options)
