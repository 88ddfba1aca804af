#pragma once

#include "core/Notice.h"
#include "core/SqlCondition.h"

#include <QStringList>

namespace mldd {

struct MainState;
class OrderDatabase;

/** The one-field text search of the order list. */
namespace OrderSearch {

/** A search field: its caption in the field list and the columns it searches. */
struct Field {
    QString caption;
    QStringList columns;
};

/** The field list, in its order. */
const QList<Field>& fields();

/** The columns of the field with this caption; none for an unknown caption. */
std::optional<QStringList> columnsOf(const QString& fieldCaption);

/** The condition that finds `key` anywhere in one of `columns`, along the index where that pays. */
SqlCondition condition(OrderDatabase* database, const QStringList& columns, const QString& key);

/**
 * Searches the chosen field for `key` (trimmed of blanks) anywhere in it,
 * replacing any filter, and runs the list query. An empty `fieldCaption`
 * means no field was chosen: all orders are listed and the message returned.
 * The first page is ready at once; the count stops at the page after it until
 * state.cursor.countAhead() (when state.cursor.countWaits()).
 */
std::optional<Notice> search(MainState& state, const QString& fieldCaption, const QString& key);

} // namespace OrderSearch
} // namespace mldd
