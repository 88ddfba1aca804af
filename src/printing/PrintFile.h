#pragma once

#include "PrintDocuments.h"

#include "core/Notice.h"
#include "core/Order.h"

#include <variant>

namespace mldd {

/**
 * A print file of prepared waybills (.mlk) or shipping lists (.mlf): its
 * lines joined, cut at "[P]", each piece in the layout codec's form. A
 * decoded piece is one record: a JSON object of order_data's text columns
 * ("order_sign", "buy_name", "delivery", …), read into an order that is
 * printed but never stored or marked.
 */
struct PrintFile {
    static constexpr int kRowsPerPage = 10;

    PrintDocuments::Kind kind = PrintDocuments::Kind::Waybills;
    QString baseName; // the file's name without folder and extension
    QList<Order> records;

    /** Reads the file; why not, in the seller's words, when it cannot be printed. */
    static std::variant<PrintFile, Notice> read(const QString& path);

    int pageCount() const { return int((records.size() + kRowsPerPage - 1) / kRowsPerPage); }
    /** The records of list page `page` (1-based). */
    QList<Order> page(int page) const {
        return records.mid((page - 1) * kRowsPerPage, kRowsPerPage);
    }

    /** The job title of the record at run position `position` (1-based). */
    QString titleOf(int position) const;
};

} // namespace mldd
