# target_sources(corvanta_ledger PRIVATE ...) for the ledger file, seed list and settings
