# benchmarks (quoted valuation through the local fakes of the quote sources)
add_executable(bench_market ${CMAKE_CURRENT_LIST_DIR}/MarketBench.cpp)
target_link_libraries(bench_market
    PRIVATE corvanta_market corvanta_quote_server benchmark::benchmark corvanta_options)
