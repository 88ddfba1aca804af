#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"
#include "core/OrderStore.h"

#include <QHash>

namespace mldd {

/**
 * The order numbers already captured per shop and seller, one file each
 * (data/<shop;seller>.dat, numbers ending with "|"): the re-capture limit.
 */
class CapturedNumbers {
public:
    CapturedNumbers(const DataFolder& folder, const ErrorLog& log) : m_folder(folder), m_log(log) {}

    /** Whether `number` was captured before for `seller`; empty numbers never were. */
    bool contains(const QString& seller, const QString& number);

    void add(const QString& seller, const QString& number);

    /**
     * Writes the lists that changed beside the old ones, before their orders
     * are stored; `commit` puts them in place once the orders are stored.
     * A crash in between leaves staged lists that `recover` settles.
     */
    bool stage();
    void commit();

    /**
     * Settles lists staged by a capture that did not finish: kept when their
     * last number is stored, dropped when it is not, so that the lists always
     * agree with the orders.
     */
    static void recover(const DataFolder& folder, const OrderStore& store);

private:
    QString& listOf(const QString& seller);
    QString path(const QString& seller) const;
    static QString stagedPath(const QString& path) { return path + QStringLiteral(".new"); }

    DataFolder m_folder;
    ErrorLog m_log;
    QHash<QString, QString> m_lists;
    QHash<QString, bool> m_changed;
};

} // namespace mldd
