#pragma once

#include <QList>
#include <QString>

namespace mldd {

/**
 * A comma- or tab-separated text with the place of every field kept, so that
 * write-back can change some fields and leave every other character as it was.
 * Quoted fields may hold the delimiter, doubled quotes and line breaks.
 */
struct CsvText {
    struct Record {
        QList<std::pair<qsizetype, qsizetype>>
            fields;        // [start, end) of each field, quotes included
        qsizetype end = 0; // where the record's line break begins
    };

    QString text;
    QChar delimiter = u',';
    QString lineEnd = QStringLiteral("\r\n"); // the line break the text uses
    QList<Record> records;

    /** Parses `text`; the delimiter is a tab when the first line has more tabs than commas. */
    static CsvText parse(QString text);

    QString value(int record, int field) const;
    /** A field as written: quoted when it holds the delimiter, a quote or a line break. */
    static QString written(const QString& value, QChar delimiter);
};

} // namespace mldd
