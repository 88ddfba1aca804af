#pragma once

#include <QString>
#include <QStringList>

namespace mldd {

/**
 * The express plan as stored in SelectKD: the courier names, "|", then the
 * plan items (flag "T" or "F", then province and template pairs), all ":"-separated.
 */
struct ExpressPlan {
    QStringList courierNames;
    /** Item 0 is the flag; province items at odd indexes, each followed by its template. */
    QStringList items;

    static ExpressPlan fromText(const QString& selectKD);
    QString toText() const;

    /** The courier names a new plan gets when it has none (鑫飞鸿 stands twice). */
    static QStringList defaultCourierNames();

    /** Flag "T": a courier named in the order's messages goes before the province rule. */
    bool messagesFirst() const { return items.value(0) == u'T'; }
};

} // namespace mldd
