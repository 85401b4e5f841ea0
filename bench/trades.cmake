# benchmarks (trades)
add_executable(bench_trades ${CMAKE_CURRENT_LIST_DIR}/TradesBench.cpp)
target_link_libraries(bench_trades PRIVATE corvanta_ledger benchmark::benchmark corvanta_options)
