#pragma once

#include <QMap>
#include <QString>

namespace mldd {

/**
 * Insertions and replacements at offsets of one original text, applied in one
 * pass from its start, so that a sheet of many edited rows costs its length
 * once rather than once per edit.
 */
class TextSplices {
public:
    /** Replaces `length` characters at `at`; a second replacement at `at` wins. */
    void replace(qsizetype at, qsizetype length, const QString& text);
    /** Inserts at `at`, after what is already inserted there. */
    void insert(qsizetype at, const QString& text);

    /** The original with every edit made; edits must not overlap. */
    QString applied(const QString& original) const;

private:
    QMap<qsizetype, std::pair<qsizetype, QString>> m_edits;
};

} // namespace mldd
