#include "TextMetrics.h"

#include <QTextLayout>

#include <cmath>

namespace mldd {

QFont TextMetrics::twipsFont(const FontSpec& style) {
    QFont font(style.family);
    font.setPixelSize(std::max(1, int(std::lround(style.pointSize * kTwipsPerPoint))));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

const TextMetrics::Entry& TextMetrics::entry(const FontSpec& style) {
    const QString key = style.key();
    auto found = m_entries.constFind(key);
    if (found == m_entries.constEnd()) {
        const QFont font = twipsFont(style);
        found = m_entries.insert(key, Entry{font, QFontMetricsF(font)});
    }
    return *found;
}

double TextMetrics::width(const FontSpec& font, const QString& text) {
    return entry(font).metrics.horizontalAdvance(text);
}

double TextMetrics::lineHeight(const FontSpec& font) {
    return entry(font).metrics.lineSpacing();
}

QStringList TextMetrics::wrap(const FontSpec& font, const QString& text, double width) {
    QStringList lines;
    QTextLayout layout(text, entry(font).font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

} // namespace mldd
