#!/usr/bin/python3
"""Makes order exports in the layouts of seven marketplaces, with the quirks
their real files have (encodings, guarded numbers, masked receivers, a header
below a title, a wrong sheet dimension). Every name, phone and address here is
made up.

Usage: make_exports.py OUTPUT_FOLDER
"""
import os
import re
import sys
import zipfile
from xml.sax.saxutils import escape

import openpyxl


def write_csv(path, rows, encoding, bom=False):
    lines = []
    for row in rows:
        cells = []
        for cell in row:
            text = str(cell)
            if any(c in text for c in ',"\n'):
                text = '"' + text.replace('"', '""') + '"'
            cells.append(text)
        lines.append(",".join(cells))
    data = ("\r\n".join(lines) + "\r\n").encode(encoding)
    with open(path, "wb") as out:
        out.write((b"\xef\xbb\xbf" if bom else b"") + data)


def write_xlsx(path, rows):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "订单"
    for row in rows:
        sheet.append(row)
    book.save(path)


def guarded(number):
    return '="%s"' % number


TAOBAO_ORDERS = [
    ["订单编号", "买家会员名", "买家应付货款", "总金额", "订单状态", "买家留言", "收货人姓名",
     "收货地址 ", "运送方式", "联系电话 ", "联系手机", "宝贝标题 ", "宝贝种类", "物流单号 ",
     "物流公司", "订单备注"],
    [guarded("3301234567890123401"), "tb小王", "118.00", "118.00", "买家已付款", "请尽快发货",
     "王晓明", "浙江省 杭州市 西湖区 文三路90号东部软件园(310012)", "快递", "",
     "'13800001111", "棉麻衬衫，帆布包", "2", "", "", ""],
    [guarded("3301234567890123402"), "tb赵丽", "35.50", "35.50", "卖家已发货", "",
     "赵丽", "广东省 广州市 天河区 体育西路101号(510620)", "快递", "",
     "'13900002222", "帆布包", "1", "No:YT7654321098765", "圆通速递", ""],
    [guarded("3301234567890123403"), "tb陈", "36.00", "36.00", "买家已付款", "",
     "陈**", "四川省 成都市 武侯区 ****(610041)", "快递", "", "'182****3333", "陶瓷杯",
     "1", "", "", ""],
]

TAOBAO_GOODS = [
    ["订单编号", "标题", "价格", "购买数量", "外部系统编号", "商品属性", "套餐信息", "备注",
     "订单状态", "商家编码"],
    [guarded("3301234567890123401"), "棉麻衬衫", "79.00", "1", "", "颜色分类:白色;尺码:L", "",
     "", "买家已付款", "SHIRT-W-L"],
    [guarded("3301234567890123401"), "帆布包", "19.50", "2", "", "", "", "", "买家已付款",
     "BAG-01"],
    [guarded("3301234567890123402"), "帆布包", "35.50", "1", "", "", "", "", "卖家已发货",
     "BAG-01"],
    [guarded("3301234567890123403"), "陶瓷杯", "12.00", "3", "", "", "", "", "买家已付款",
     "CUP-3"],
]

PDD = [
    ["商品", "订单号", "订单状态", "商品总价(元)", "店铺优惠折扣(元)", "用户实付金额(元)",
     "商品数量(件)", "收货人", "手机", "省", "市", "区", "街道", "商家编码-SKU维度", "快递单号",
     "快递公司", "商家备注"],
    ["不锈钢保温杯 500ml", "\t261201-123456789012345", "待发货", "100.00", "0", "100.00", "3",
     "刘洋", "\t13700003333", "湖北省", "武汉市", "洪山区", "珞喻路1037号", "\tCUP500", "", "",
     ""],
    ["陶瓷茶杯", "\t261201-123456789012346", "已发货，待签收", "45.00", "0", "45.00", "1",
     "孙**", "\t137****4444", "江苏省", "南京市", "鼓楼区", "****", "CUP-T",
     "\tZT1234567890", "中通快递", ""],
]

DOUYIN = [
    ["主订单编号", "子订单编号", "选购商品", "商品规格", "商品数量", "商品单价", "商家编码",
     "收件人", "收件人手机号", "省", "市", "区", "街道", "详细地址", "快递公司", "快递单号",
     "买家留言"],
    ["\t6934567890123456789", "\t6934567890123456790", "纯棉T恤", "白色 XL", "2", "59.9",
     "TS-W-XL", "黄磊", "\t15800005555", "山东省", "青岛市", "市南区", "八大关街道",
     "香港中路10号", "-", "-", "-"],
    ["\t6934567890123456789", "\t6934567890123456791", "运动袜", "五双装", "1", "25", "SOCK5",
     "黄磊", "\t15800005555", "山东省", "青岛市", "市南区", "八大关街道", "香港中路10号", "-",
     "-", "-"],
    ["\t6934567890123456792", "\t6934567890123456793", "纯棉T恤", "黑色 M", "1", "59.9",
     "TS-B-M", "何静", "\t15900006666", "贵州省", "贵阳市", "花溪区", "-", "花溪大道北段218号",
     "-", "-", "送货前电话联系"],
]

JD = [
    ["订单号", "商品ID", "商品名称", "订购数量", "京东价", "客户姓名", "客户地址", "联系电话",
     "货号", "订单备注", "订单状态"],
    ["310012345678", "100012345", "无线鼠标", "1", "89.00", "马超",
     "河南省郑州市金水区花园路100号", "13600007777", "MOUSE-1", "", "等待出库"],
    ["310012345678", "100012346", "鼠标垫", "2", "15.00", "马超",
     "河南省郑州市金水区花园路100号", "13600007777", "PAD-2", "", "等待出库"],
    ["310012345679", "100012347", "机械键盘", "1", "299.00", "郭芳",
     "湖南省长沙市岳麓区麓山南路2号", "13500008888", "KB-87", "请开发票", "等待出库"],
]

# 京东's ".xls" that is really a web page: GBK named in a meta tag, loose upper-case HTML
# (cells and rows left open), a title cell spanning the columns, guarded numbers, &nbsp;
# padding, entities and <br> inside cells.
JD_WEB_HEADER = ["订单号", "商品ID", "商品名称", "订购数量", "京东价", "客户姓名", "客户地址",
                 "联系电话", "货号", "订单备注", "订单状态"]
JD_WEB_ROWS = [
    [guarded("310012345680"), "100012348", "儿童T恤&amp;短裤套装", "1", "79.00",
     "&nbsp;林晓&nbsp;", "河北省石家庄市长安区<br>中山东路5号", guarded("13700001212"), "TS-KID",
     "周末送货<br/>请电话联系", "等待出库"],
    [guarded("310012345680"), "100012349", "袜子 &lt;3双装&gt;", "2", "9.90", "林晓",
     "河北省石家庄市长安区<br>中山东路5号", guarded("13700001212"), "SOCK-3", "", "等待出库"],
    [guarded("310012345681"), "100012350", "保温杯", "1", "59.00", "韩梅",
     "山西省太原市小店区&#x957F;风街8号", guarded("13600003434"), "CUP-1", "", "等待出库"],
]


def write_web_xls(path):
    page = ['<html xmlns:o="urn:schemas-microsoft-com:office:office" '
            'xmlns:x="urn:schemas-microsoft-com:office:excel">',
            '<head><meta http-equiv="Content-Type" content="text/html; charset=gbk">',
            '<style>td { mso-number-format:"\\@"; } /* <td>not a cell</td> */</style>',
            '<!-- <tr><td>导出说明</td></tr> --></head><body>',
            '<TABLE border=1>',
            '<TR><TD colspan="%d" align=center>京东订单导出 2026-12-01</TD></TR>'
            % len(JD_WEB_HEADER),
            "<TR>" + "".join("<TH>%s</TH>" % name for name in JD_WEB_HEADER) + "</TR>"]
    for row in JD_WEB_ROWS:
        page.append("<TR>\n" + "\n".join("  <TD x:str>%s" % cell for cell in row))
    page.append("</TABLE></body></html>")
    with open(path, "wb") as out:
        out.write("\r\n".join(page).encode("gbk"))


KUAISHOU = [
    ["订单号", "订单状态", "商品名称", "成交数量", "商品单价", "SKU编码", "收货人姓名",
     "收货人电话", "收货地址-省", "收货地址-市", "收货地址-区", "收货地址-街道", "收货地址",
     "快递公司", "快递单号"],
    ["2412012345678901", "待发货", "手工皂", 2, 18.8, "SOAP-1", "吴敏", "13300009999",
     "福建省", "厦门市", "思明区", "鹭江街道", "鹭江道8号", None, None],
    ["2412012345678902", "待发货", "丝瓜络", 3, 6.5, "LUFFA", "郑强", "13200001234", "云南省",
     "昆明市", "五华区", "华山街道", "云南省昆明市五华区华山南路6号", None, None],
]

# The same layout from an older order tool, saved in the XML workbook format: a title and a
# blank row above the header, order numbers as numbers written with an exponent.
KUAISHOU_2003 = [
    ["快手订单导出"],
    [],
    KUAISHOU[0],
    [("Number", "2.412012345678903E+15"), "待发货", "竹筷 十双装", 1, 25.5, "CHOP-10", "冯雪",
     "13100005678", "四川省", "成都市", "武侯区", "玉林街道", "玉林南路12号"],
    [("Number", "2.412012345678904E+15"), "待发货", "木梳", 2, 12, None, "蒋涛", "13000004321",
     "湖北省", "宜昌市", "西陵区", "云集街道", "湖北省宜昌市西陵区东山大道3号"],
]


def write_xml_spreadsheet(path, rows):
    """Empty rows and cells are left out, the next one named by its ss:Index."""
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', '<?mso-application progid="Excel.Sheet"?>',
             '<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet"'
             ' xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet">',
             '<Worksheet ss:Name="订单"><Table>']
    row_gap = False
    for row_number, row in enumerate(rows, 1):
        if not row:
            row_gap = True
            continue
        cells, cell_gap = [], False
        for column, cell in enumerate(row, 1):
            if cell is None:
                cell_gap = True
                continue
            kind, text = cell if isinstance(cell, tuple) else (
                "Number" if isinstance(cell, (int, float)) else "String", str(cell))
            index = ' ss:Index="%d"' % column if cell_gap else ""
            cells.append('<Cell%s><Data ss:Type="%s">%s</Data></Cell>' % (index, kind, escape(text)))
            cell_gap = False
        index = ' ss:Index="%d"' % row_number if row_gap else ""
        lines.append("<Row%s>%s</Row>" % (index, "".join(cells)))
        row_gap = False
    lines.append("</Table></Worksheet></Workbook>")
    with open(path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines))


XIAOHONGSHU = [
    ["小红书订单导出（2026-12-01）"],
    [],
    ["订单号", "订单状态", "收件人姓名", "收件人电话", "收件人地址", "省", "市", "区", "SKU名称",
     "SKU件数", "商品总价(元)", "商家编码", "快递公司", "快递单号", "大头笔", "集包地",
     "三段码"],
    ["P761234567890123456", "待发货", "钱芳", "13100002345", "陕西省西安市雁塔区小寨东路1号",
     "陕西省", "西安市", "雁塔区", "香薰蜡烛 玫瑰", 2, 99.0, "CANDLE-R"],
    ["P761234567890123456", "待发货", "钱芳", "13100002345", "陕西省西安市雁塔区小寨东路1号",
     "陕西省", "西安市", "雁塔区", "香薰蜡烛 柠檬", 1, 49.5, "CANDLE-L"],
]

WECHAT_HEADER = ["订单号", "下单时间", "收件人姓名", "收件人手机", "收件人地址", "省", "市", "区",
                 "商品名称", "商品数量", "商品价格(单件)", "SKU编码(自定义)", "物流公司", "快递单号",
                 "买家留言"]
WECHAT = [
    WECHAT_HEADER,
    ["3712345678901234567", "2026-12-01 09:00:00", "周丽", "13212345774-1234",
     "宁夏回族自治区银川市兴庆区解放西街3号", "宁夏回族自治区", "银川市", "兴庆区", "枸杞礼盒", 1,
     128, "GOJI-1"],
    ["3712345678901234568", "2026-12-01 09:05:00", "林**", "183****2807", "****",
     "广西壮族自治区", "南宁市", "青秀区", "桂花糕", 2, 20, "CAKE-2"],
    ["3712345678901234568", "2026-12-01 09:05:00", "林**", "183****2807", "****",
     "广西壮族自治区", "南宁市", "青秀区", "芝麻糕", 1, 15, "CAKE-S"],
    ["3712345678901234569", "2026-12-01 09:07:00", "林**", "183****2901", "****",
     "广西壮族自治区", "南宁市", "青秀区", "桂花糕", 1, 20, "CAKE-2"],
]
# The same export a day later, the buyer's full receiver given for one order.
WECHAT_LATER = [
    WECHAT_HEADER,
    ["3712345678901234568", "2026-12-01 09:05:00", "林小梅", "18312342807",
     "广西壮族自治区南宁市青秀区民族大道100号", "广西壮族自治区", "南宁市", "青秀区", "桂花糕", 2,
     20, "CAKE-2"],
    ["3712345678901234568", "2026-12-01 09:05:00", "林小梅", "18312342807",
     "广西壮族自治区南宁市青秀区民族大道100号", "广西壮族自治区", "南宁市", "青秀区", "芝麻糕", 1,
     15, "CAKE-S"],
]


def claim_a1_dimension(path):
    """Rewrites the sheet's <dimension> to A1, as the marketplace's writer does."""
    with zipfile.ZipFile(path) as book:
        entries = [(info, book.read(info.filename)) for info in book.infolist()]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as book:
        for info, data in entries:
            if info.filename.startswith("xl/worksheets/sheet"):
                data = re.sub(rb'<dimension ref="[^"]*"', b'<dimension ref="A1"', data)
            book.writestr(info, data)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    at = lambda name: os.path.join(folder, name)
    write_csv(at("taobao_orders.csv"), TAOBAO_ORDERS, "gb18030")
    write_csv(at("taobao_goods.csv"), TAOBAO_GOODS, "gb18030")
    write_csv(at("pdd.csv"), PDD, "utf-8", bom=True)
    write_csv(at("douyin.csv"), DOUYIN, "utf-8", bom=True)
    write_csv(at("jd.csv"), JD, "gbk")
    write_web_xls(at("jd_web.xls"))
    write_xlsx(at("kuaishou.xlsx"), KUAISHOU)
    claim_a1_dimension(at("kuaishou.xlsx"))
    write_xml_spreadsheet(at("kuaishou_2003.xml"), KUAISHOU_2003)
    write_xlsx(at("xiaohongshu.xlsx"), XIAOHONGSHU)
    write_xlsx(at("wechat.xlsx"), WECHAT)
    write_xlsx(at("wechat_later.xlsx"), WECHAT_LATER)
    # A file cut off in its last line, and one no layout knows.
    damaged = PDD + [["纯棉袜子", "\t261201-123456789012347", "待发货", "9.90"]]
    write_csv(at("pdd_cut.csv"), damaged, "utf-8", bom=True)
    write_csv(at("unknown.csv"), [["日期", "客户", "金额"], ["2026-12-01", "某公司", "100"]],
              "utf-8")


if __name__ == "__main__":
    main(sys.argv[1])
