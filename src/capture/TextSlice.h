#pragma once

#include <QString>
#include <QStringView>

namespace mldd {

/**
 * A piece of a shared text. Cutting off a head or a tail copies nothing, so
 * that walking a long page order by order costs time in proportion to the page.
 */
class TextSlice {
public:
    TextSlice() = default;
    explicit TextSlice(QString text) : m_base(std::move(text)), m_size(m_base.size()) {}

    QStringView view() const { return QStringView(m_base).mid(m_from, m_size); }
    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    QString toString() const;

    /** Characters [from, from + length); both are clamped to the slice. */
    TextSlice mid(qsizetype from, qsizetype length = -1) const;
    TextSlice left(qsizetype length) const { return mid(0, qMax<qsizetype>(length, 0)); }
    TextSlice right(qsizetype length) const { return mid(m_size - qMax<qsizetype>(length, 0)); }

    /** 0-based index of the first `needle` at or after `from`, -1 when none; "" is found at `from`.
     */
    qsizetype indexOf(QStringView needle, qsizetype from = 0) const;
    /** 0-based index of the last `needle`, -1 when none; "" is found at the end. */
    qsizetype lastIndexOf(QStringView needle) const;

private:
    QString m_base;
    qsizetype m_from = 0;
    qsizetype m_size = 0;
};

} // namespace mldd
