#!/usr/bin/python3
"""Imports marketplace exports the way a seller does: the real mldd on a fresh data
folder under Xvfb, driven over the accessibility bus (gui_probe.py), 订单 › 导入Excel,
the file typed into the file dialog, 提取Excel and nothing else in the mapping window.
The stored orders are then read back with mldd-cli.

Usage: excel_import_probe.py MLDD MLDD_CLI DEFAULTS_FOLDER [SCREENSHOT_FOLDER]
DEFAULTS_FOLDER is the data folder beside the built programs (its code and Delivery
folders make the fresh one). Exit status 77 (skipped) when gui_probe.py, the X server or
the accessibility bus cannot be had here; 1 with the step that failed.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
PROBE_DIR = os.environ.get("GUI_PROBE_DIR", "/work/shared/tools")
SKIPPED = 77

# File, the platform the mapping window names, orders it holds, receivers it masks.
EXPORTS = [
    ("jd_web.xls", "京东", 2, 0),
    ("douyin.csv", "抖店", 2, 0),
    ("kuaishou.xlsx", "快手", 2, 0),
    ("kuaishou_2003.xml", "快手", 2, 0),
    ("wechat.xlsx", "微信小店", 3, 2),
]

# What the store must hold afterwards: receiver, places, goods lines, quantity on the list.
EXPECTED = {
    "京东:310012345680": ("林晓", "河北省", "石家庄市", "长安区", "中山东路5号", 2),
    "京东:310012345681": ("韩梅", "山西省", "太原市", "小店区", "长风街8号", 1),
    "抖店:6934567890123456789": ("黄磊", "山东省", "青岛市", "市南区", "八大关街道香港中路10号", 2),
    "快手:2412012345678902": ("郑强", "云南省", "昆明市", "五华区", "华山南路6号", 1),
    "快手:2412012345678904": ("蒋涛", "湖北省", "宜昌市", "西陵区", "东山大道3号", 1),
    "微信小店:3712345678901234568": ("林**", "广西壮族自治区", "南宁市", "青秀区", "****", 2),
}


def fail(what):
    print("FAIL", what)
    sys.exit(1)


def fresh_data(defaults, folder):
    data = os.path.join(folder, "data")
    for part in ("code", "Delivery"):
        shutil.copytree(os.path.join(defaults, part), os.path.join(data, part))
    return data


def alert_texts(p, alert):
    return " ".join(n.name for n in p.find(role="label", within=alert) if n.name)


def answer_alerts(p, said):
    """Reads and closes every message box up now; a modal one would block the window."""
    for alert in p.windows(showing=True):
        if alert.role == "alert":
            said.append(alert_texts(p, alert))
            p.press_button("确定", within=alert)
            p.wait_gone(alert)


def type_in(p, field, text):
    """Types as the seller does; on a busy machine a key can be lost, and the seller retypes."""
    for attempt in range(3):
        try:
            return p.set_text(field, text, method="keys")
        except ProbeError:
            if attempt == 2:
                raise


def import_export(p, path, platform, shots, said):
    before = p.windows()
    p.menu(["订单", "导入Excel"])
    hint = p.wait_window(new_since=before, role="alert")
    if "请选择Excel文件" not in alert_texts(p, hint):
        fail("the hint before the file dialog: %r" % alert_texts(p, hint))
    p.press_button("确定", within=hint)
    files = p.wait_window(title="选择Excel文件")
    p.set_text(p.labelled("文件名：", within=files), path)
    p.press_button("打开", within=files)
    mapping = p.wait_window(title="Excel提取编辑")
    recognition = p.wait_find(name="表格识别结果", within=mapping)
    if "[%s]" % platform not in (recognition.description or ""):
        fail("%s: the mapping window says %r" % (path, recognition.description))
    if shots:
        p.screenshot(os.path.join(shots, "excel-mapping-%s.png" % os.path.splitext(
            os.path.basename(path))[0]))
    # A fresh data folder has no sender yet: the seller types the shop, as the window asks.
    sender = p.labelled("发货人公司\\店名\\ID", within=mapping)
    shop = p.find(role="text", within=sender)
    if shop and not (shop[0].text or "").strip():
        type_in(p, shop[0], "%s:墨岚小店" % platform)
    p.press_button("提取Excel", within=mapping)
    status = "提示:[%s]Excel中共有订单" % platform

    def imported():
        answer_alerts(p, said)
        return p.find(role="label", contains=status, showing=True)

    try:
        return p.wait_for(imported, timeout=60)[0].name
    except ProbeTimeout:
        fail("%s: no import line; the program said %r" % (path, said))


def stored_orders(cli, data):
    """Every page of the list of all orders, as one listing."""
    listing = None
    page = 1
    while listing is None or page <= listing["pages"]:
        listed = subprocess.run([cli, "--data", data, "orders", "--state", "所有", "--json",
                                 "--page", str(page)], capture_output=True, text=True, timeout=60)
        if listed.returncode != 0:
            fail("mldd-cli orders: %s" % listed.stderr)
        shown = json.loads(listed.stdout)
        if listing is None:
            listing = shown
        else:
            listing["orders"] += shown["orders"]
        page += 1
    return listing


def main(mldd, cli, defaults, shots=None):
    global ProbeTimeout, ProbeError
    sys.path.insert(0, PROBE_DIR)
    try:
        from gui_probe import Probe, ProbeError, ProbeTimeout
    except ImportError as error:
        print("SKIP gui_probe.py cannot be loaded:", error)
        return SKIPPED
    work = tempfile.mkdtemp(prefix="mldd-probe-")
    try:
        made = subprocess.run(["/usr/bin/python3", os.path.join(HERE, "..", "spreadsheet",
                                                                "make_exports.py"), work])
        if made.returncode != 0:
            fail("make_exports.py")
        data = fresh_data(defaults, work)
        said = []
        with Probe(size="1024x768x24", timeout=30) as p:
            try:
                p.start([mldd], data=data, copy_data=False)
            except ProbeError as error:
                print("SKIP the program cannot be started under a probe here:", error)
                return SKIPPED
            main_window = p.wait_window(role="frame")
            for name, platform, orders, masked in EXPORTS:
                line = import_export(p, os.path.join(work, name), platform, shots, said)
                print("%s: %s" % (name, line))
                if "Excel中共有订单%d个，实提订单%d个" % (orders, orders) not in line:
                    fail("%s: %r" % (name, line))
                if masked and "收件人信息不全%d个" % masked not in line:
                    fail("%s: no masked count in %r" % (name, line))
            if shots:
                p.screenshot(os.path.join(shots, "excel-imported.png"))
            if not any("收件人被网店隐藏了一部分" in text for text in said):
                fail("no word of the masked receivers: %r" % said)
            p.close_window(main_window)
            if p.wait_app_exit(timeout=20) is None:
                fail("the program did not end")
        listing = stored_orders(cli, data)
        orders = {order["order_sign"]: order for order in listing["orders"]}
        total = sum(export[2] for export in EXPORTS)
        if listing["records"] != total:
            fail("%d orders stored, %d expected" % (listing["records"], total))
        for sign, (name, province, city, county, address, lines) in EXPECTED.items():
            order = orders.get(sign)
            if order is None:
                fail("%s not stored: %s" % (sign, sorted(orders)))
            got = (order["buy_name"], order["buy_address_sheng"], order["buy_address_shi"],
                   order["buy_address_xian"], order["buy_address"],
                   len(order["buy_goods"].split("\r\n")))
            if got != (name, province, city, county, address, lines):
                fail("%s stored as %r" % (sign, got))
        print("PASS %d exports, %d orders stored as imported" % (len(EXPORTS), total))
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
