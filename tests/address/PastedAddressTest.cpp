#include "address/PastedAddress.h"

#include <gtest/gtest.h>

using namespace mldd;

namespace {

ReceiverBoxes pasted(const QString& text) {
    ReceiverBoxes boxes;
    boxes.address = text;
    RecognizePastedAddress(boxes);
    return boxes;
}

void expectBoxes(const ReceiverBoxes& got, const QString& name, const QString& phone1,
                 const QString& phone2, const QString& zipcode, const QString& address) {
    EXPECT_EQ(got.name, name);
    EXPECT_EQ(got.phone1, phone1);
    EXPECT_EQ(got.phone2, phone2);
    EXPECT_EQ(got.zipcode, zipcode);
    EXPECT_EQ(got.address, address);
}

const QString kAddress = QStringLiteral("浙江省 杭州市 西湖区 文三路310012号");

} // namespace

TEST(PastedAddressTest, NameFirstWithAnEmptyTelephone) {
    // The postcode also stands inside the street number and goes from there too.
    expectBoxes(
        pasted(QStringLiteral("张三，13800138000，，浙江省 杭州市 西湖区 文三路310012号，310012")),
        QStringLiteral("张三"), QStringLiteral("13800138000"), QString(), QStringLiteral("310012"),
        QStringLiteral("浙江省 杭州市 西湖区 文三路号"));
    // Address parts between the telephones and the postcode are joined by single spaces.
    expectBoxes(pasted(QStringLiteral("李四，139，0571-1，浙江省 ，杭州市西湖区，310000")),
                QStringLiteral("李四"), QStringLiteral("139"), QStringLiteral("0571-1"),
                QStringLiteral("310000"), QStringLiteral("浙江省 杭州市西湖区"));
}

TEST(PastedAddressTest, AddressFirstSplitsTwoTelephones) {
    expectBoxes(pasted(QStringLiteral(
                    "浙江省杭州市西湖区文三路1号，310000，王五，13800138000 0571-88888888")),
                QStringLiteral("王五"), QStringLiteral("13800138000"),
                QStringLiteral("0571-88888888"), QStringLiteral("310000"),
                QStringLiteral("浙江省杭州市西湖区文三路1号"));
}

TEST(PastedAddressTest, SeparatorsAndLinesAreNormalised) {
    const ReceiverBoxes want =
        pasted(QStringLiteral("赵六，13800138000，，杭州市文三路1号，310000"));
    for (const QString& text :
         {QStringLiteral("赵六,13800138000,,杭州市文三路1号,310000"),
          QStringLiteral("赵六 ， 13800138000，  ，杭州市文三路1号 ，310000"),
          QStringLiteral("收货信息\r\n赵六，13800138000，，杭州市文三路1号，310000\r\n第二行"),
          QStringLiteral("收货地址：赵六，13800138000，，杭州市文三路1号，310000"),
          QStringLiteral("短\n\n赵六，13800138000，，杭州市文三路1号，310000\n")}) {
        const ReceiverBoxes got = pasted(text);
        EXPECT_EQ(got.name, want.name) << text.toStdString();
        EXPECT_EQ(got.phone1, want.phone1) << text.toStdString();
        EXPECT_EQ(got.address, want.address) << text.toStdString();
        EXPECT_EQ(got.zipcode, want.zipcode) << text.toStdString();
    }
    // A first line of ten characters or more is the block itself.
    EXPECT_EQ(pasted(QStringLiteral("一二三四五六七八九十\r\n赵六，1")).name,
              QStringLiteral("一二三四五六七八九十"));
}

TEST(PastedAddressTest, FewPartsFillWhatTheyCan) {
    expectBoxes(pasted(QStringLiteral("只有名字")), QStringLiteral("只有名字"), QString(),
                QString(), QString(), QStringLiteral("只有名字"));
    // Name, telephone, a long address, postcode: the address sits in the second
    // telephone's place and is moved.
    expectBoxes(
        pasted(QStringLiteral("孙七，13800138000，浙江省杭州市西湖区文三路一号院三栋，310000")),
        QStringLiteral("孙七"), QStringLiteral("13800138000"), QString(), QStringLiteral("310000"),
        QStringLiteral("浙江省杭州市西湖区文三路一号院三栋"));
}

TEST(PastedAddressTest, EditPanelKeepsWhatItDoesNotFind) {
    ReceiverBoxes boxes{QStringLiteral("旧名"), QStringLiteral("旧电话"), QStringLiteral("旧电话2"),
                        QStringLiteral("旧邮编"), QStringLiteral("周八，13800138000")};
    RecognizeInEditPanel(boxes);
    expectBoxes(boxes, QStringLiteral("周八"), QStringLiteral("13800138000"),
                QStringLiteral("旧电话2"), QStringLiteral("旧邮编"),
                QStringLiteral("周八，13800138000"));

    // No ASCII-comma normalisation and no address-first layout here.
    boxes.address = QStringLiteral("浙江省杭州市文三路1号，310000，吴九，138");
    RecognizeInEditPanel(boxes);
    EXPECT_EQ(boxes.name, QStringLiteral("浙江省杭州市文三路1号"));
    EXPECT_EQ(boxes.phone1, QStringLiteral("310000"));
}

TEST(PastedAddressTest, EditPanelAddressAndPostcode) {
    ReceiverBoxes boxes;
    boxes.address = QStringLiteral("郑十，138，，浙江省，杭州市 ，310000");
    RecognizeInEditPanel(boxes);
    expectBoxes(boxes, QStringLiteral("郑十"), QStringLiteral("138"), QString(),
                QStringLiteral("310000"), QStringLiteral("浙江省 杭州市"));
    // Four parts: the last one is the address, not lost.
    boxes.address = QStringLiteral("郑十，138，浙江省杭州市西湖区文三路一号院，杭州");
    RecognizeInEditPanel(boxes);
    EXPECT_EQ(boxes.phone2, QStringLiteral("浙江省杭州市西湖区文三路一号院"));
    EXPECT_EQ(boxes.address, QStringLiteral("杭州"));
}
