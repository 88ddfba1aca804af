#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Lets failing expectations show texts readably.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace mldd::test {

/** Rule lines joined into one decode file text. */
inline QString rules(const QStringList& lines) {
    return lines.join(QStringLiteral("{|}"));
}

/** Goods program lines joined into one program. */
inline QString goodsProgram(const QStringList& lines) {
    return lines.join(QStringLiteral("[|]"));
}

/** The records of a records text, each split into its fifteen fields. */
inline QList<QStringList> recordFields(const QString& records) {
    QList<QStringList> result;
    const QStringList parts = records.split(QStringLiteral("{|D|}"));
    for (qsizetype i = 1; i < parts.size(); ++i)
        result.append(parts.at(i).split(QStringLiteral("{|B|}")));
    return result;
}

} // namespace mldd::test
