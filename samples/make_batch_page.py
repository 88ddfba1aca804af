#!/usr/bin/env python3
"""Writes the sample batch shipping page (taobao-batch.txt): forty orders of one
shop as a marketplace's batch page shows them, with the page furniture around
them and addresses written in the habits buyers have."""

addresses = [
    "贵州省贵阳市花溪区花溪大道北段218号贵州大学北区",
    "北京 北京市 朝阳区 建国路88号现代城5号楼1203",
    "上海上海市徐汇区漕溪北路88号圣爱大厦12楼",
    "广东省 深圳市 南山区 科技园南区高新南七道",
    "湖北省恩施土家族苗族自治州恩施市航空大道56号",
    "新疆维吾尔自治区乌鲁木齐市天山区解放南路120号",
    "浙江 杭州市 西湖区 文三路478号华星时代广场",
    "四川省成都市武侯区人民南路四段27号",
    "江苏省苏州市昆山市前进中路166号",
    "内蒙古自治区呼和浩特市赛罕区大学西街235号",
]
names = ["李小红", "张伟", "王芳", "刘洋", "陈静", "杨磊", "赵敏", "黄海", "周婷", "吴强"]
goods = [
    "棉麻衬衫 白色 L 1 89.00；帆布包 2 35.50",
    "陶瓷茶杯 4 22.00",
    "手工皂 3 18.00；丝瓜络 2 6.00；竹制皂托 1 9.90",
    "羊毛围巾 1 129.00",
]
messages = ["请发圆通，谢谢", "", "周末也可以送", "不要放快递柜", "请发顺丰，急用"]

lines = ["[MYIE]我的淘宝 | 已卖出的宝贝 | 批量发货", "首页  客服中心  网站导航",
         "批量发货（共40笔订单）", "全选  批量发货  导出订单", ""]
for i in range(40):
    lines += [
        f"订单编号：{3218877400 + i}",
        f"成交时间：2026-12-0{1 + i % 5} {9 + i % 10}:{i % 60:02d}:00",
        f"买家昵称：buyer_{1000 + i * 7}",
        f"收货人：{names[i % len(names)]}",
        f"联系电话：{13800000000 + i * 104729}",
        f"邮编：{550025 + i * 11}",
        f"收货地址：{addresses[i % len(addresses)]}",
        f"宝贝：{goods[i % len(goods)]}",
        f"买家留言：{messages[i % len(messages)]}",
        "发货  查看详情  备忘",
        "--------------------------------",
    ]
lines += ["共40笔订单  上一页 1 2 下一页", "版权所有 © 2026", ""]

with open("taobao-batch.txt", "wb") as page:
    page.write("\r\n".join(lines).encode("utf-8"))
