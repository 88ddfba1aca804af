#pragma once

#include "PageModel.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringList>

namespace mldd {

/**
 * Measures text in twips with the real metrics of the printing faces, so that
 * layout needs no paint device. Fonts are kept once made.
 */
class TextMetrics {
public:
    double width(const FontSpec& font, const QString& text);
    /** Distance from one line's top to the next. */
    double lineHeight(const FontSpec& font);

    /** `text` broken into lines no wider than `width`, as a text box wraps it. */
    QStringList wrap(const FontSpec& font, const QString& text, double width);

    /** A font of this face and style whose pixels are twips. */
    static QFont twipsFont(const FontSpec& font);

private:
    struct Entry {
        QFont font;
        QFontMetricsF metrics;
    };
    const Entry& entry(const FontSpec& font);

    QHash<QString, Entry> m_entries;
};

} // namespace mldd
