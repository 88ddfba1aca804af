#include "PdfReadBack.h"
#include "TestFolder.h"

#include "core/OrderDatabase.h"
#include "core/OrderStore.h"
#include "core/OrderWriteRule.h"

#include "CliRun.h"
#include "TrackingNumbers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <iostream>

using namespace mldd;

namespace {

// Waybills printed into a PDF are scanned off paper from printers of any of the common
// resolutions, whichever one they were laid out for.
class PdfBarcodes : public testing::Test {
protected:
    void SetUp() override {
        // The pre-printed forms and the whole waybills on blank thermal labels.
        const QStringList forms{"圆通", "申通",       "中通",        "韵达",       "顺丰",
                                "EMS",  "热敏76x130", "热敏100x150", "热敏100x180"};
        for (const QString& form : forms)
            for (const QString extension : {".mlg", ".mlm"}) {
                QFile shipped(QStringLiteral(MLDD_SHIPPED_DATA "/Delivery/") + form + extension);
                ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
                m_test.writeFile(form + extension, shipped.readAll());
            }
        QString message;
        const auto database = OrderDatabase::open(m_test.folder().databasePath(), &message);
        ASSERT_TRUE(database) << message.toStdString();
        m_numbers = test::variedTrackingNumbers(20);
        QList<Order> orders(m_numbers.size());
        for (int i = 0; i < orders.size(); ++i) {
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(500 + i);
            orders[i].buyName = QStringLiteral("买家%1").arg(i);
            orders[i].buyAddress = QStringLiteral("浙江省杭州市西湖区文三路%1号").arg(i + 1);
            orders[i].wuliuCode = m_numbers[i];
            orders[i].delivery = forms[i % forms.size()];
            m_ids.append(QString::number(i + 1));
        }
        OrderWriteRule rule;
        ASSERT_TRUE(OrderStore(*database).insert(orders, rule));
    }

    /** Prints the waybills into a PDF, `--dpi` as given (none: the default). */
    QString printed(const QStringList& dpi) {
        const QString pdf = m_test.folder().dataPath() + QStringLiteral("/waybills.pdf");
        const test::CliRun run =
            test::runCli(QStringList{"--data", m_test.folder().dataPath(), "print", "waybill",
                                     "--ids", m_ids.join(u','), "--pdf", pdf} +
                         dpi);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return pdf;
    }

    /** How many pages scan back to their own tracking number at `dotsPerInch`. */
    int scanned(const QString& pdf, int dotsPerInch) const {
        QTemporaryDir images;
        const QStringList found = test::barcodesOf(pdf, images.path(), dotsPerInch);
        EXPECT_EQ(found.size(), m_numbers.size());
        int right = 0;
        for (qsizetype i = 0; i < found.size() && i < m_numbers.size(); ++i)
            right += found[i] == m_numbers[i];
        return right;
    }

    test::TestFolder m_test;
    QStringList m_numbers;
    QStringList m_ids;
};

} // namespace

TEST_F(PdfBarcodes, LaidOutForAnyCommonResolutionTheyScanAtEachOfThem) {
    // No --dpi: laid out for the commonest waybill printer, 203 dpi.
    for (const QStringList& dpi :
         {QStringList{}, QStringList{"--dpi", "180"}, QStringList{"--dpi", "300"}}) {
        const QString pdf = printed(dpi);
        const QString laidOut = dpi.isEmpty() ? QStringLiteral("203") : dpi[1];
        for (const int rasterised : {180, 203, 300}) {
            const int right = scanned(pdf, rasterised);
            std::cout << "laid out for " << laidOut.toStdString() << " dpi, rasterised at "
                      << rasterised << ": " << right << " of " << m_numbers.size() << " scan\n";
            EXPECT_EQ(right, m_numbers.size()) << laidOut.toStdString() << " " << rasterised;
        }
    }
}

TEST_F(PdfBarcodes, AResolutionThatIsNoPrintersIsAUsageError) {
    for (const QString dpi : {"0", "abc", "-203", "100000"}) {
        const test::CliRun run =
            test::runCli({"--data", m_test.folder().dataPath(), "print", "waybill", "--ids", "1",
                          "--pdf", m_test.folder().dataPath() + "/x.pdf", "--dpi", dpi});
        EXPECT_EQ(run.exitCode, 2) << dpi.toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("打印机分辨率"))) << run.err.toStdString();
    }
    const test::CliRun withPrinter =
        test::runCli({"--data", m_test.folder().dataPath(), "print", "waybill", "--ids", "1",
                      "--printer", "x", "--dpi", "203"});
    EXPECT_EQ(withPrinter.exitCode, 2);
    EXPECT_FALSE(QFile::exists(m_test.folder().dataPath() + "/x.pdf"));
}
