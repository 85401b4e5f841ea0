#!/usr/bin/python3
"""Writes two test statements as real workbooks: a legacy Excel .xls (xlwt) and an
Office Open XML .xlsx (openpyxl), both from Debian's packages.

    make-workbooks.py OUTPUT_FOLDER

The .xls keeps codes and dates as text, figures as numbers; the .xlsx keeps codes
as numbers (000001 becomes 1) and dates as date cells, as spreadsheets often do.
"""
import datetime
import os
import sys

import openpyxl
import xlwt

TRADES = [
    # date, code, name, operation, quantity, price, amount, commission, stamp, transfer, net
    ("2024-01-05", "600036", "招商银行", "证券买入", 1000, 30.50, 30500.00, 9.15, 0, 1.00, -30510.15),
    ("2024-01-08", "000001", "平安银行", "证券买入", 2000, 9.80, 19600.00, 5.88, 0, 0, -19605.88),
    ("2024-01-20", "000001", "平安银行", "红利入账", 0, 0, 0, 0, 0, 0, 460.00),
    ("2024-02-01", "600036", "招商银行", "证券卖出", -500, 32.00, 16000.00, 5, 8, 1.00, 15986.00),
    ("2024-02-10", "", "", "银行转证券", 0, 0, 0, 0, 0, 0, 50000.00),
    ("2024-03-01", "000001", "平安银行", "证券卖出", -2000, 10.10, 20200.00, 6.06, 10.10, 0, 20183.84),
]

HEADER = ["成交日期", "证券代码", "证券名称", "操作", "成交数量", "成交均价", "成交金额",
          "手续费", "印花税", "过户费", "发生金额"]


def write_xls(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("交割单")
    sheet.write(0, 0, "交割单查询")
    sheet.write(1, 0, "资金账号：12345678")
    for column, name in enumerate(HEADER):
        sheet.write(3, column, name)
    for row, trade in enumerate(TRADES, start=4):
        for column, value in enumerate(trade):
            if column > 3 and value == 0 and trade[4] == 0:
                continue  # transfers and dividends leave the trade columns empty
            sheet.write(row, column, value)
    sheet.write(4 + len(TRADES), 0, "合计")
    sheet.write(4 + len(TRADES), 10, sum(t[10] for t in TRADES))
    book.save(path)


def write_xlsx(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Sheet1"
    sheet.append(["对账单"])
    order = [1, 2, 0, 3, 5, 4, 6, 7, 8, 9, 10]  # code, name, date, operation, price, quantity…
    sheet.append(["股票代码", "股票名称", "交收日期", "业务名称", "成交价格", "成交股数",
                  "成交金额", "佣金", "印花税", "过户费", "清算金额"])
    for trade in TRADES:
        row = []
        for index in order:
            value = trade[index]
            if index == 1:
                value = int(value) if value else None
            elif index == 0:
                value = datetime.date.fromisoformat(value)
            row.append(value)
        sheet.append(row)
    book.save(path)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_xls(os.path.join(folder, "statement.xls"))
    write_xlsx(os.path.join(folder, "statement.xlsx"))


if __name__ == "__main__":
    main()
