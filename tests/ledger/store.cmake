# tests of the ledger file, seed list and settings
