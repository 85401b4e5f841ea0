# target_sources(corvanta_ledger PRIVATE ...) for trades and the stock table
