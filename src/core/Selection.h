#pragma once

#include <QList>
#include <QString>

namespace mldd {

/**
 * The ticked orders, in ticking order, kept as the text "|12|15": each id
 * preceded by "|". Ids match as whole items, so 2 never matches 12 or 20.
 */
class Selection {
public:
    QString text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }
    bool contains(qint64 id) const;
    QList<qint64> ids() const;

    /** Ticks (adds at the end) or unticks (removes the whole item) one order. */
    void toggle(qint64 id, bool ticked);
    void clear() { m_text.clear(); }

private:
    static QString item(qint64 id) { return u'|' + QString::number(id); }

    QString m_text;
};

} // namespace mldd
