#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"

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

    /** Writes back the lists that changed. */
    bool save();

private:
    QString& listOf(const QString& seller);
    QString path(const QString& seller) const;

    DataFolder m_folder;
    ErrorLog m_log;
    QHash<QString, QString> m_lists;
    QHash<QString, bool> m_changed;
};

} // namespace mldd
