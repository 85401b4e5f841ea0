# benchmarks (store)
