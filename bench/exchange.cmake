# benchmarks (broker statement import)
add_executable(bench_exchange ${CMAKE_CURRENT_LIST_DIR}/ExchangeBench.cpp)
target_link_libraries(bench_exchange
    PRIVATE corvanta_exchange corvanta_ledger benchmark::benchmark corvanta_options)
