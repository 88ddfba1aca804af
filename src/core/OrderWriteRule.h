#pragma once

#include "Order.h"

#include <QList>

namespace mldd {

/** A length limit of one order column, in characters (UTF-16 units). */
struct FieldLimit {
    const char* column;
    QString Order::*member;
    int limit;
};

/**
 * The rule every writer of orders follows: a text that does not fit its
 * column is not written, and the batch's error text gains a complaint.
 */
class OrderWriteRule {
public:
    /** The limits of capture and manual entry. */
    static const QList<FieldLimit>& captureLimits();

    explicit OrderWriteRule(const QList<FieldLimit>& limits = captureLimits()) : m_limits(limits) {}

    /** Empties every field of `order` that is too long, records why, and returns those fields. */
    QList<FieldLimit> apply(Order& order);

    /** The collected complaints, each after CR LF: "\r\n[buy_name]超长51". */
    QString errors() const { return m_errors; }
    bool hasErrors() const { return !m_errors.isEmpty(); }

    /** The complaint for one field that does not fit. */
    static QString complaint(const char* column, qsizetype length);

private:
    QList<FieldLimit> m_limits;
    QString m_errors;
};

} // namespace mldd
