#pragma once

#include "ImportLayout.h"
#include "RowOrders.h"
#include "SameReceiver.h"
#include "SheetTable.h"

#include "address/ExpressPlan.h"
#include "core/Order.h"
#include "core/OrderReader.h"
#include "core/OrderWriteRule.h"
#include "core/PreparedIds.h"

#include <QSet>

#include <memory>
#include <variant>

namespace mldd {

struct MainState;
class OrderTransaction;

/** What one import did, and the line that tells it. */
struct ImportCount {
    int rows = 0;            // data rows that hold something
    int imported = 0;        // stored as orders of their own
    int merged = 0;          // merged into an order of the same buyer
    int alreadyImported = 0; // found stored already, not stored again
    int completed = 0;       // stored before with less, completed from this file
    int masked = 0;          // new or completed orders whose receiver is still masked
    /** The marketplace layout the file was recognised as; empty for a seller's own sheet. */
    QString platform;
    /** The rows left out, each "第N行…" with why. */
    QStringList damagedRows;
    /** The over-long fields, each "\r\n[column]超长" + length. */
    QString errorNote;
    /** Why an order got no courier form (no templates, no plan). */
    std::optional<Notice> courierNotice;

    QString countsLine() const;
    /** The messages to show after the counts line. */
    QList<Notice> notices() const;
};

/**
 * One import of a worksheet: every data row through the layout's mapping, the
 * address splitter, the courier choice, the check for orders already stored
 * and the merge with an order of the same buyer. All of it is one transaction
 * that stays open while the rows are done in slices, so a window stays
 * responsive; cancelled, failed or killed, it leaves the order table as it was.
 */
class ImportRun {
public:
    /** The import limits: longer values are left out and named in the error note. */
    static const QList<FieldLimit>& limits();

    /**
     * Checks the sheet (rows below the header, error values in mapped cells) and
     * begins the transaction; the notice says why nothing can be imported.
     */
    static std::variant<std::unique_ptr<ImportRun>, Notice> start(MainState& state,
                                                                  const SheetTable& sheet,
                                                                  const ImportLayout& layout,
                                                                  const QString& sourcePath);
    ~ImportRun();

    /** Imports up to `rows` more rows; false once every row is done or the store failed. */
    bool step(int rows);
    int rowsDone() const { return m_next - m_layout.headerRow; }
    int rowCount() const { return int(m_sheet.rows.size()) - m_layout.headerRow; }

    /** Commits the orders and shows the sender's unprinted orders; a notice when it failed. */
    std::variant<ImportCount, Notice> finish();
    /** Leaves the order table as it was before the import. */
    void cancel();

private:
    ImportRun(MainState& state, const SheetTable& sheet, const ImportLayout& layout,
              const QString& sourcePath);
    /** Maps one row and decides whether it is new, merged or stored already. */
    void takeRow(int row);
    /** Stores the rows taken since the last slice and their merges. */
    bool storeSlice();
    /** An order of a row's receiver stored before this run. */
    struct Stored {
        qint64 id;
        bool sameNumber; // has the row's order number
        bool mergeable;  // listed, unprinted and never split, or merged away
    };
    /** The orders of the row's receiver stored before this run, in id order: one look-up. */
    std::vector<Stored> storedOf(const Order& asStored);
    /** A stored order that this row was imported into before: it is not stored again. */
    bool importedBefore(const Order& asStored, const std::vector<Stored>& stored);
    /** Completes the order stored before this run under the row's number; false when none is. */
    bool completeStored(const Order& asStored);
    /** The order stored before this run that takes in the rows of its buyer, if any. */
    std::optional<Order> mergeTarget(const std::vector<Stored>& stored);

    MainState& m_state;
    SheetTable m_sheet;
    ImportLayout m_layout;
    RowOrders m_rows;
    ExpressPlan m_plan;
    OrderWriteRule m_rule;
    std::unique_ptr<OrderTransaction> m_transaction;
    std::unique_ptr<SameReceiver> m_sameReceiver; // among the orders stored before this run
    std::unique_ptr<OrderReader> m_reader;        // the stored orders those look-ups name
    std::unique_ptr<PreparedIds> m_byNumber;      // stored before this run, by order number
    qint64 m_lastId = 0;
    QList<Order> m_completions; // stored orders completed in this slice
    QSet<qint64> m_matched;     // earlier orders this run found its rows in
    /** The order that takes in a buyer's rows: one stored, or one of this slice. */
    struct Target {
        qint64 stored;
        int pending;
    };
    /** A row merged into the order of its buyer. */
    struct Merge {
        int newcomer;
        Target target;
    };
    QList<Order> m_pending; // the rows of this slice, stored together
    QList<Merge> m_merges;
    QHash<QString, Target> m_targets; // receiver → the order that takes the buyer's rows
    QStringList m_pendingTargets;     // receivers whose target is one of this slice
    ImportCount m_count;
    int m_next = 0;
    bool m_failed = false;
};

} // namespace mldd
