# benchmarks (calc)
add_executable(bench_calc CalcBench.cpp)
target_link_libraries(bench_calc PRIVATE corvanta_calc benchmark::benchmark corvanta_options)
