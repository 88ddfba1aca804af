#include "TextMetrics.h"

#include <QTextLayout>

#include <cmath>

namespace mldd {

namespace {

QString keyOf(const FontSpec& font) {
    return font.family + u'|' + QString::number(font.pointSize) + u'|' +
           QChar(u'0' + int(font.bold) + 2 * int(font.italic) + 4 * int(font.underline));
}

} // namespace

QFont TextMetrics::twipsFont(const FontSpec& spec) {
    QFont font(spec.family);
    font.setPixelSize(std::max(1, int(std::lround(spec.pointSize * kTwipsPerPoint))));
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

const TextMetrics::Entry& TextMetrics::entry(const FontSpec& spec) {
    const QString key = keyOf(spec);
    auto found = m_entries.constFind(key);
    if (found == m_entries.constEnd()) {
        const QFont font = twipsFont(spec);
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
