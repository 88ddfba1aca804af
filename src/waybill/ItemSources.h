#pragma once

#include <QList>
#include <QString>

namespace mldd {

/** What a new layout item can print: its caption and data-source expression. */
struct ItemSource {
    QString caption;
    QString source;
    QString group; // 收件人, 寄件人 or 其他, for the designer's menu
};

/** The data sources a seller picks from when adding an item to a template. */
namespace ItemSources {

QList<ItemSource> all();

/** The expression of a constant text item; "+" and the record separators become look-alikes. */
QString constant(const QString& text);

} // namespace ItemSources
} // namespace mldd
