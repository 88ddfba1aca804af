#include "TextSplices.h"

namespace mldd {

void TextSplices::replace(qsizetype at, qsizetype length, const QString& text) {
    m_edits.insert(at, {length, text});
}

void TextSplices::insert(qsizetype at, const QString& text) {
    auto existing = m_edits.find(at);
    if (existing != m_edits.end() && existing->first == 0)
        existing->second += text;
    else
        m_edits.insert(at, {0, text});
}

QString TextSplices::applied(const QString& original) const {
    qsizetype grown = 0;
    for (const auto& [length, text] : m_edits)
        grown += text.size() - length;
    QString out;
    out.reserve(original.size() + std::max<qsizetype>(grown, 0));
    qsizetype done = 0;
    for (auto it = m_edits.constBegin(); it != m_edits.constEnd(); ++it) {
        out += QStringView(original).mid(done, it.key() - done);
        out += it->second;
        done = it.key() + it->first;
    }
    out += QStringView(original).mid(done);
    return out;
}

} // namespace mldd
