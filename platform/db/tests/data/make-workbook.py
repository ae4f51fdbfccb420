#!/usr/bin/python3
# Makes workbook.xls, the small workbook the "Excel 8.0" reader is tested on (python3-xlwt).
# Run it again only when the fixture must change: the .xls is committed.
import datetime
import os
import xlwt

book = xlwt.Workbook(encoding="utf-8")
date = xlwt.easyxf(num_format_str="yyyy-mm-dd")
stamp = xlwt.easyxf(num_format_str="yyyy-mm-dd hh:mm:ss")

s = book.add_sheet("Sheet1")
for c, title in enumerate(["合同编号", "名称", "金额", "签订日期", "份数", "备注"]):
    s.write(0, c, title)
rows = [
    ("HT-001", "办公设备采购", 12345.5, datetime.date(2009, 3, 5), 2, "首付"),
    ("HT-002", "Software licence", 800, datetime.datetime(2010, 12, 31, 14, 30, 0), 1, None),
    ("HT-003", "维修服务", None, None, None, "无金额"),
]
for r, row in enumerate(rows, start=1):
    for c, v in enumerate(row):
        if v is None:
            continue
        if isinstance(v, datetime.datetime):
            s.write(r, c, v, stamp)
        elif isinstance(v, datetime.date):
            s.write(r, c, v, date)
        else:
            s.write(r, c, v)

k = book.add_sheet("客户")
k.write(0, 0, "对方单位")
k.write(0, 1, "联系人")
k.write(1, 0, "华东公司")
k.write(1, 1, "张三")

book.save(os.path.join(os.path.dirname(os.path.abspath(__file__)), "workbook.xls"))
