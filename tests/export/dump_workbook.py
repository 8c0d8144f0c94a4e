#!/usr/bin/env python3
"""Prints what a spreadsheet reads from an .xlsx workbook, one fact a line:
"title <hex>", "sheet <hex>" per sheet, "extent <rows>x<columns>" and
"<coordinate> <type> <hex>" per cell holding a value (first sheet), and
"formulas <count>" of <f> elements in all worksheet XML. Texts are the hex of
their UTF-8 bytes ("-" when empty), with the _xHHHH_ escapes decoded as
spreadsheets decode them."""
import re
import sys
import zipfile

import openpyxl
from openpyxl.utils.escape import unescape


def hex_text(text):
    return text.encode("utf-8").hex() if text else "-"


def main(path):
    with zipfile.ZipFile(path) as archive:
        sheets = [n for n in archive.namelist() if n.startswith("xl/worksheets/")]
        formulas = sum(len(re.findall(rb"<f[ >/]", archive.read(n))) for n in sheets)
    workbook = openpyxl.load_workbook(path)
    print("title", hex_text(workbook.properties.title))
    for name in workbook.sheetnames:
        print("sheet", hex_text(name))
    sheet = workbook.worksheets[0]
    print("extent", f"{sheet.max_row}x{sheet.max_column}")
    print("formulas", formulas)
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is not None:
                print(cell.coordinate, cell.data_type, hex_text(unescape(str(cell.value))))


if __name__ == "__main__":
    main(sys.argv[1])
