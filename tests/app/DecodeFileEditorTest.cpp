#include "DecodeFileEditor.h"
#include "ServiceProcess.h"
#include "WindowFixture.h"

#include "capture/PageCapture.h"
#include "capture/PageKey.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace mldd;
using namespace mldd::test;

namespace {

class DecodeFileEditorTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        QFile page(QStringLiteral(MLDD_SOURCE_DIR "/samples/taobao-detail.txt"));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly));
        // Captured pages reach the editor with CR LF line ends.
        m_page = QString::fromUtf8(page.readAll())
                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                     .replace(u'\n', QStringLiteral("\r\n"));
    }

    // A value copied out of the page box and pasted into a field's box.
    static void paste(DecodeFileEditor& editor, int field, const QString& value) {
        QLineEdit* box = editor.valueBox(field);
        box->setFocus();
        typeText(box, value);
        emit box->editingFinished();
    }

    QString decodeFilePath() const {
        return m_state.folder.file(QStringLiteral("code/") + *pageKeyOf(kAddress) +
                                   QStringLiteral(".dat"));
    }

    const QString kAddress = QStringLiteral("https://shop.example.com/my/order.html");
    QString m_page;
};

} // namespace

TEST_F(DecodeFileEditorTest, ADecodeFileBuiltFromTheSamplePageCapturesItsOrder) {
    addProfile(QStringLiteral("其他:我的id"));
    DecodeFileEditor editor(m_state, kAddress, m_page);
    editor.show();
    {
        ModalAnswers answers;
        paste(editor, 3, QStringLiteral("不在页面上的人"));
        EXPECT_EQ(answers.texts,
                  QStringList{QStringLiteral("请在左边复制连续的字符串[买家姓名]，粘贴到这里！")});
        EXPECT_TRUE(editor.valueBox(3)->text().isEmpty());
    }
    {
        ModalAnswers answers;
        QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("收货地址不能空！")});
        EXPECT_FALSE(QFile::exists(decodeFilePath()));
    }
    const QStringList lines = m_page.split(QStringLiteral("\r\n"));
    auto valueAfter = [&](const QString& label) {
        for (const QString& line : lines)
            if (line.startsWith(label))
                return line.mid(label.size()).trimmed();
        return QString();
    };
    const QString name = valueAfter(QStringLiteral("收货人："));
    const QString phone = valueAfter(QStringLiteral("联系电话："));
    const QString address = valueAfter(QStringLiteral("收货地址："));
    ASSERT_FALSE(name.isEmpty());
    ASSERT_FALSE(address.isEmpty());
    paste(editor, 3, name);
    paste(editor, 4, phone);
    paste(editor, 11, address);
    QTest::mouseClick(editor.buildButton(), Qt::LeftButton);
    EXPECT_EQ(editor.resultBox(3)->text(), name);
    EXPECT_EQ(editor.resultBox(11)->text(), address);
    EXPECT_EQ(editor.resultBox(0)->text(), QStringLiteral("其他:我的id"));
    EXPECT_EQ(editor.resultLine()->text(), QStringLiteral("试提取：这个页面提取到1个订单。"));
    {
        ModalAnswers answers;
        QTest::mouseClick(editor.saveButton(), Qt::LeftButton);
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts.first().startsWith(QStringLiteral("解码文件已保存")));
    }
    ASSERT_TRUE(QFile::exists(decodeFilePath()));

    // The next capture of this kind of page uses the file: no service is asked.
    m_state.serviceBase = QStringLiteral("http://127.0.0.1:9");
    const PageCaptureResult captured =
        capturePage(m_state, kAddress, m_page, ServiceClient(2000), false);
    ASSERT_EQ(captured.outcome, PageCaptureResult::Outcome::Stored);
    const QList<Order> stored = allOrders();
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.first().buyName, name);
    EXPECT_EQ(stored.first().buyPhone1, phone);
    EXPECT_EQ(stored.first().myId, QStringLiteral("其他:我的id"));
}

TEST_F(DecodeFileEditorTest, RefreshRepairAndCheckAskTheRealService) {
    ServiceProcess service(
        {QStringLiteral("--content"), QStringLiteral(MLDD_SOURCE_DIR "/service/content")});
    ASSERT_NE(service.port(), 0) << "mldd-service did not start";
    m_state.serviceBase = QStringLiteral("http://127.0.0.1:%1").arg(service.port());
    const QString taobao = QStringLiteral("https://trade.taobao.com/trade/detail.htm");
    const QString taobaoFile =
        m_state.folder.file(QStringLiteral("code/") + *pageKeyOf(taobao) + QStringLiteral(".dat"));
    DecodeFileEditor editor(m_state, taobao, QString());
    {
        ModalAnswers answers;
        QTest::mouseClick(editor.refreshButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("解码文件已经更新到最新版本！")});
        EXPECT_TRUE(QFile::exists(taobaoFile));
    }
    {
        ModalAnswers answers;
        QTest::mouseClick(editor.checkButton(), Qt::LeftButton);
        ASSERT_EQ(answers.texts.size(), 1);
        EXPECT_TRUE(answers.texts.first().startsWith(QStringLiteral("解码文件")));
    }
    {
        ModalAnswers answers;
        QTest::mouseClick(editor.repairButton(), Qt::LeftButton);
        EXPECT_EQ(answers.texts, QStringList{QStringLiteral("单据提取功能已经修复！")});
        EXPECT_FALSE(QFile::exists(taobaoFile));
    }
    // Without the service nothing is deleted.
    m_state.serviceBase = QStringLiteral("http://127.0.0.1:9");
    ModalAnswers answers;
    QTest::mouseClick(editor.repairButton(), Qt::LeftButton);
    EXPECT_EQ(answers.texts, QStringList{QStringLiteral("网络不好用，暂时不能修复单据提取功能！")});
}
