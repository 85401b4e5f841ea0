# target_sources(corvanta_windows PRIVATE ...) for the stock picker
