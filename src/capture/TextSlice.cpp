#include "TextSlice.h"

namespace mldd {

QString TextSlice::toString() const {
    if (m_from == 0 && m_size == m_base.size())
        return m_base;
    return view().toString();
}

TextSlice TextSlice::mid(qsizetype from, qsizetype length) const {
    from = qBound<qsizetype>(0, from, m_size);
    const qsizetype available = m_size - from;
    TextSlice piece;
    piece.m_base = m_base;
    piece.m_from = m_from + from;
    piece.m_size = length < 0 ? available : qMin(length, available);
    return piece;
}

qsizetype TextSlice::indexOf(QStringView needle, qsizetype from) const {
    if (from < 0 || from > m_size)
        return -1;
    if (needle.isEmpty())
        return from;
    return view().indexOf(needle, from);
}

qsizetype TextSlice::lastIndexOf(QStringView needle) const {
    if (needle.isEmpty())
        return m_size;
    if (needle.size() > m_size)
        return -1;
    return view().lastIndexOf(needle, m_size - needle.size());
}

} // namespace mldd
