#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace mldd {

/** Point of an item's box that stays put when the text's size changes. */
enum class Anchor { LT, LB, LCH, CC, RT, RB, RCH };

/** How an item's text is broken into lines. */
enum class WrapMode { None, Width, Count };

/** Text alignment inside an item box. */
enum class Alignment { Left, Right, Centre };

/**
 * One item of a waybill layout: nine fields separated by "{F}". A field that
 * is missing or does not read leaves its property unset, so the renderer keeps
 * its default.
 */
struct ItemRecord {
    static inline const QString kRecordSeparator = QStringLiteral("{D}");
    static inline const QString kFieldSeparator = QStringLiteral("{F}");

    QString text; // the record as stored, for replacing it in the file
    bool printed = false;
    bool bold = false;
    QString source;
    QString caption;
    QString face;
    QString sizeText;
    std::optional<Alignment> alignment;
    std::optional<Anchor> anchor;
    std::optional<double> left, top, width, height;
    WrapMode wrap = WrapMode::None;
    int wrapCount = 0; // characters per line for WrapMode::Count

    static ItemRecord parse(const QString& record);

    /** The records of a decoded layout text, at most 41, the element count of a view. */
    static QList<ItemRecord> parseLayout(const QString& layout);

    /** The anchor of a code such as "RB"; none for an unknown code. */
    static std::optional<Anchor> anchorFromCode(const QString& code);
};

} // namespace mldd
