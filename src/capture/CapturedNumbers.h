#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"
#include "core/OrderStore.h"

#include <QHash>
#include <QSet>

#include <memory>
#include <vector>

class QLockFile;

namespace mldd {

/**
 * The order numbers already captured per shop and seller, one file each
 * (data/<shop;seller>.dat, numbers ending with "|"): the re-capture limit.
 * Each list is held as a set, so a look-up costs the same however many
 * numbers a seller has captured.
 */
class CapturedNumbers {
public:
    /** How long a capture waits for another program to finish with a list. */
    static constexpr int kLockWaitMs = 60000;

    CapturedNumbers(const DataFolder& folder, const ErrorLog& log);
    ~CapturedNumbers();
    CapturedNumbers(const CapturedNumbers&) = delete;
    CapturedNumbers& operator=(const CapturedNumbers&) = delete;

    /**
     * Locks the lists of `sellers` against every other program until this
     * object ends, settles what a capture that died left staged, and reads them
     * afresh: two captures at once then both add to the list, never one over
     * the other. False, with the reason in `error`, when a lock cannot be had.
     */
    bool lock(QStringList sellers, const OrderStore& store, QString* error);

    /** Whether `number` was captured before for `seller`; empty numbers never were. */
    bool contains(const QString& seller, const QString& number);

    void add(const QString& seller, const QString& number);

    /**
     * Writes the lists that changed beside the old ones, before their orders
     * are stored; `commit` puts them in place once the orders are stored,
     * `discard` drops them when the orders were not. A crash in between leaves
     * staged lists that the next `lock` or `recover` settles.
     */
    bool stage();
    void commit();
    void discard();

    /**
     * Settles lists staged by a capture that did not finish: kept when their
     * last number is stored, dropped when it is not, so that the lists always
     * agree with the orders.
     */
    static void recover(const DataFolder& folder, const OrderStore& store);

private:
    struct List {
        QString text; // the file's content, numbers each ending with "|"
        QSet<QString> numbers;
        bool changed = false;
    };

    List& listOf(const QString& seller);
    QString path(const QString& seller) const;
    static QString stagedPath(const QString& path) { return path + QStringLiteral(".new"); }
    static std::unique_ptr<QLockFile> lockList(const QString& path);
    static void settle(const QString& path, const OrderStore& store);

    DataFolder m_folder;
    ErrorLog m_log;
    QHash<QString, List> m_lists;
    std::vector<std::unique_ptr<QLockFile>> m_locks;
};

} // namespace mldd
