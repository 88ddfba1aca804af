#!/usr/bin/python3
"""Makes the test workbooks with real spreadsheet writers from Debian
(python3-xlsxwriter writes shared strings, python3-openpyxl inline strings).

Usage: make_workbooks.py OUTPUT_FOLDER [big ROWS]
       make_workbooks.py compare BEFORE.xlsx AFTER.xlsx
The second form reads both files back with openpyxl and prints every cell that
differs, one "sheet!cell" line each, and every sheet whose name or state changed.
"""
import datetime
import os
import sys
import zipfile

import openpyxl
import xlsxwriter

HEADER = ["订单编号", "收货人", "电话", "手机", "省", "收货地址", "商品", "留言", "下单日期", "金额"]


def orders_xlsx(path):
    book = xlsxwriter.Workbook(path)
    notes = book.add_worksheet("说明")
    notes.write(0, 0, "这一页只是说明")
    sheet = book.add_worksheet("订单")
    old = book.add_worksheet("旧订单")
    old.write(0, 0, "不该看到")
    old.hide()
    sheet.activate()
    date = book.add_format({"num_format": "yyyy-mm-dd"})
    money = book.add_format({"num_format": "0.00"})
    padded = book.add_format({"num_format": "00000000000"})
    sheet.write_row(0, 0, HEADER)
    sheet.write_number(1, 0, 2851234567890123)
    sheet.write_row(1, 1, ["李小红", "08515551234"])
    sheet.write_number(1, 3, 13812345678)
    sheet.write_string(1, 5, "贵州省贵阳市花溪区花溪大道北段218号")
    sheet.write_string(1, 6, "棉麻衬衫 白色 L 1\n帆布包 2")
    sheet.write_string(1, 7, "请发圆通")
    sheet.write_datetime(1, 8, datetime.datetime(2024, 3, 1), date)
    sheet.write_number(1, 9, 89.5, money)
    sheet.write_number(2, 0, 2851234567890124)
    sheet.write_string(2, 1, "张伟")
    sheet.write_number(2, 2, 2164001234, padded)
    sheet.write_string(2, 5, "上海上海市徐汇区漕溪北路88号")
    sheet.write_string(2, 6, "陶瓷茶杯 4")
    # One buyer on two rows: the name and the address stand once, merged over both.
    sheet.merge_range(3, 1, 4, 1, "林琳")
    sheet.merge_range(3, 5, 4, 5, "湖北省恩施州恩施市航空大道56号")
    sheet.write_number(3, 0, 2851234567890125)
    sheet.write_number(4, 0, 2851234567890126)
    sheet.write_string(3, 6, "手工皂 3")
    sheet.write_string(4, 6, "丝瓜络 2")
    sheet.write_string(3, 10, "备注列")
    book.close()


def inline_xlsx(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Sheet1"
    sheet.append(["单号", "姓名", "地址", "商品", "快递单号"])
    sheet.append(["T100", "王五", "北京北京市海淀区中关村大街1号", "书 1", None])
    sheet.append(["T101", "赵六", "广东省广州市天河区体育西路2号", "伞 1", None])
    sheet.append(["T102", "孙七", "浙江省杭州市西湖区文三路3号", "茶 2", None])
    sheet["F1"] = "=1+1"
    other = book.create_sheet("备注")
    other["A1"] = "保持不变"
    other["B2"] = 42
    book.save(path)


def big_xlsx(path, rows):
    book = xlsxwriter.Workbook(path, {"constant_memory": True})
    sheet = book.add_worksheet("订单")
    sheet.write_row(0, 0, HEADER)
    cities = ["贵州省贵阳市花溪区", "上海上海市徐汇区", "湖北省恩施州恩施市", "广东省广州市天河区",
              "浙江省杭州市西湖区", "北京北京市海淀区", "四川省成都市武侯区", "江苏省南京市鼓楼区"]
    for r in range(1, rows + 1):
        # Every tenth row is a second order of the buyer above it.
        buyer = r - 1 if r % 10 == 0 else r
        sheet.write_number(r, 0, 3000000000000000 + r)
        # Names repeat across buyers, as real ones do; name and address tell a buyer.
        sheet.write_string(r, 1, "买家%d" % (buyer % 97))
        sheet.write_string(r, 3, "138%08d" % buyer)
        sheet.write_string(r, 5, "%s幸福路%d号" % (cities[buyer % len(cities)], buyer))
        sheet.write_string(r, 6, "商品%d 1" % r)
    book.close()


def replace_in_entry(path, entry, old, new):
    with zipfile.ZipFile(path) as source:
        items = [(item, source.read(item.filename)) for item in source.infolist()]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as target:
        for item, data in items:
            target.writestr(item, data.replace(old, new) if item.filename == entry else data)


def hostile(folder):
    book = openpyxl.Workbook()
    book.active.title = "订单"
    book.save(os.path.join(folder, "empty.xlsx"))
    book.active.append(HEADER)
    book.save(os.path.join(folder, "header-only.xlsx"))

    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "订单"
    sheet.append(["列%d" % i for i in range(1000)])
    sheet.append(["王五", "北京北京市海淀区中关村大街1号"] + ["x"] * 998)
    book.save(os.path.join(folder, "wide.xlsx"))

    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "订单"
    sheet.append(["姓名", "地址"])
    sheet.append(["王五", "HUGE"])
    book.save(os.path.join(folder, "huge-cell.xlsx"))
    # Spreadsheet programs cut a cell at 32767 characters; only a made-up file holds 1 MB.
    replace_in_entry(os.path.join(folder, "huge-cell.xlsx"), "xl/worksheets/sheet1.xml",
                     b"HUGE", "北".encode() * 350000)

    # A bad third cell below a good row: an error value, and a formula saved by a program that
    # does not calculate (no cached value).
    for name, bad in (("error-cell.xlsx", ["赵六", "#DIV/0!"]),
                      ("formula-cell.xlsx", ["钱七", '=B2&"之一"'])):
        book = openpyxl.Workbook()
        sheet = book.active
        sheet.title = "订单"
        sheet.append(["姓名", "地址"])
        sheet.append(["王五", "北京北京市海淀区中关村大街1号"])
        sheet.append(bad)
        book.save(os.path.join(folder, name))

    with open(os.path.join(folder, "orders.xlsx"), "rb") as whole:
        data = whole.read()
    with open(os.path.join(folder, "truncated.xlsx"), "wb") as cut:
        cut.write(data[: len(data) // 2])

    with open(os.path.join(folder, "webpage.xls"), "w", encoding="utf-8") as page:
        # A web page saved as .xls that holds no table (a login page, say).
        page.write("<html><head><title>登录</title></head><body><form>请先登录后再导出订单"
                   "</form></body></html>")

    # A small zip whose sheet unpacks to 300 MB.
    with zipfile.ZipFile(os.path.join(folder, "orders.xlsx")) as source, \
            zipfile.ZipFile(os.path.join(folder, "bomb.xlsx"), "w", zipfile.ZIP_DEFLATED) as bomb:
        for item in source.infolist():
            if item.filename != "xl/worksheets/sheet2.xml":
                bomb.writestr(item, source.read(item.filename))
        with bomb.open("xl/worksheets/sheet2.xml", "w", force_zip64=True) as sheet:
            sheet.write(b"<worksheet><sheetData>")
            chunk = b" " * (1 << 20)
            for _ in range(300):
                sheet.write(chunk)
            sheet.write(b"</sheetData></worksheet>")


def csv_files(folder):
    rows = [["单号", "姓名", "地址", "商品"],
            ["C1", "王五", "北京北京市海淀区中关村大街1号", "书 1\r\n笔 2"],
            ["C2", "赵\"六\"", "广东省广州市天河区体育西路2号", "伞, 大号 1"]]

    def field(text, delimiter):
        if delimiter in text or '"' in text or "\n" in text:
            return '"' + text.replace('"', '""') + '"'
        return text

    with open(os.path.join(folder, "orders-gbk.txt"), "wb") as tsv:
        for row in rows:
            tsv.write(("\t".join(field(f, "\t") for f in row) + "\r\n").encode("gbk"))
    with open(os.path.join(folder, "orders.csv"), "wb") as csv:
        for row in rows:
            csv.write((",".join(field(f, ",") for f in row) + "\n").encode("utf-8"))
    # Excel's "Unicode text": UTF-16LE with its byte order mark, tab-separated.
    with open(os.path.join(folder, "orders-unicode.txt"), "wb") as tsv:
        tsv.write("".join("\t".join(field(f, "\t") for f in row) + "\r\n"
                          for row in rows).encode("utf-16"))
    # A name with a character beyond GBK: four bytes in GB18030.
    with open(os.path.join(folder, "orders-gb18030.csv"), "wb") as csv:
        for row in rows[:1] + [["C3", "王\U00020000", "北京北京市海淀区中关村大街1号", "书 1"]]:
            csv.write((",".join(row) + "\r\n").encode("gb18030"))


def compare(before_path, after_path):
    before = openpyxl.load_workbook(before_path)
    after = openpyxl.load_workbook(after_path)
    if before.sheetnames != after.sheetnames:
        print("sheets", before.sheetnames, after.sheetnames)
    for old, new in zip(before.worksheets, after.worksheets):
        if old.sheet_state != new.sheet_state:
            print("state", new.title)
        rows = max(old.max_row, new.max_row)
        columns = max(old.max_column, new.max_column)
        for r in range(1, rows + 1):
            for c in range(1, columns + 1):
                a = old.cell(r, c)
                b = new.cell(r, c)
                if a.value != b.value or a.number_format != b.number_format:
                    print("%s!%s" % (new.title, b.coordinate))


def main():
    if sys.argv[1] == "compare":
        compare(sys.argv[2], sys.argv[3])
        return
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    if len(sys.argv) > 3 and sys.argv[2] == "big":
        big_xlsx(os.path.join(folder, "big.xlsx"), int(sys.argv[3]))
        return
    orders_xlsx(os.path.join(folder, "orders.xlsx"))
    inline_xlsx(os.path.join(folder, "inline.xlsx"))
    hostile(folder)
    csv_files(folder)
    big_xlsx(os.path.join(folder, "big.xlsx"), 10000)


main()
