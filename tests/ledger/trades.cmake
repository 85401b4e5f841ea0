# tests of trades and the stock table
