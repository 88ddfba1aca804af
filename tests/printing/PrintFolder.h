#pragma once

#include "core/OrderDatabase.h"
#include "core/OrderStore.h"
#include "core/StoreAddress.h"
#include "printing/PrinterSetup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace mldd::test {

/**
 * A data folder with the shipped 圆通 and 中通 forms and orders to print,
 * for the run's tests and its benchmark.
 */
class PrintFolder {
public:
    static inline const PrinterOffsets kOffsets{283, 142}; // 5 mm left, 2.5 mm up

    PrintFolder() {
        QDir().mkpath(folder.file(QStringLiteral("Delivery")));
        for (const QString form : {"圆通", "中通", "申通"})
            for (const QString extension : {".mlg", ".mlm"})
                QFile::copy(QStringLiteral(MLDD_SHIPPED_DATA "/Delivery/") + form + extension,
                            folder.file(QStringLiteral("Delivery/") + form + extension));
    }

    /**
     * Stores one order per form named, numbered from 淘宝:1001 on, with the tracking numbers
     * given (else ones of their own); their ids (empty: failed).
     */
    QList<qint64> addOrders(const QStringList& forms, const QStringList& trackingNumbers = {}) {
        auto database = OrderDatabase::open(store(), nullptr);
        if (!database)
            return {};
        QList<Order> orders(forms.size());
        for (int i = 0; i < forms.size(); ++i) {
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(1001 + stored + i);
            orders[i].buyName = QStringLiteral("买家%1").arg(stored + i);
            orders[i].buyAddress = QStringLiteral("浙江省杭州市西湖区文三路%1号").arg(i + 1);
            orders[i].wuliuCode =
                i < trackingNumbers.size()
                    ? trackingNumbers[i]
                    : QStringLiteral("YT4021937%1").arg(stored + i, 3, 10, QLatin1Char('0'));
            orders[i].delivery = forms[i];
        }
        OrderWriteRule rule;
        if (!OrderStore(*database).insert(orders, rule))
            return {};
        stored += int(forms.size());
        QList<qint64> ids;
        for (const Order& order : orders)
            ids.append(order.id);
        return ids;
    }

    /** The store the program opens on this folder: its own file, or the server set/database.dat
     * names. */
    StoreAddress store() const {
        return StoreAddress::chosen(folder, QString(), ErrorLog(folder.errorLogPath()));
    }

    /** Makes `printer` the waybill printer, adjusted by kOffsets. */
    bool setUpPrinter(const QString& printer) const {
        const PrinterSetup setup(folder, ErrorLog(folder.errorLogPath()));
        return !setup.chooseWaybillPrinter(printer) && setup.saveOffsets(printer, kOffsets);
    }

    QTemporaryDir dir;
    DataFolder folder{dir.path() + QStringLiteral("/data")};
    int stored = 0;
};

} // namespace mldd::test
