#pragma once

#include "ItemRecord.h"
#include "PageModel.h"

#include <QList>
#include <QString>

namespace mldd {

/** One of a template's ten free-text items, written and placed by the seller. */
struct CustomItem {
    QString text;
    bool printed = true;
    FontSpec font{QStringLiteral("宋体"), 9};
    Alignment alignment = Alignment::Centre;
    double left = 0;
    double top = 0;
    double width = 4965;
    double height = 180;

    /** The text a fresh item carries, telling the seller how to edit item `number` (1–10). */
    static QString placeholder(int number);
    /** Item `number` (1–10) as it is before the seller edits it. */
    static CustomItem byDefault(int number);

    /** Prints as item `number`: ticked, with a text that is not still the editing hint. */
    bool prints(int number) const;

    /** `text` as the one-line file can hold it: separators and line breaks become look-alikes. */
    static QString storable(QString text);

    /** Reads one "`"-separated record; fields that are missing or do not read keep the defaults. */
    static CustomItem parse(const QString& record, int number);
    QString toRecord() const;
};

/** The custom-item file of a template: one line of ten records joined by "[ZDYF]". */
namespace CustomItems {

inline constexpr int kCount = 10;

/** The ten items of the file; the defaults where the file is missing or short. */
QList<CustomItem> load(const QString& path);

bool save(const QString& path, const QList<CustomItem>& items, QString* error = nullptr);

} // namespace CustomItems
} // namespace mldd
