#include "CsvText.h"

namespace mldd {

namespace {

QChar delimiterOf(const QString& text) {
    int tabs = 0;
    int commas = 0;
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted && c == u'\t')
            ++tabs;
        else if (!quoted && c == u',')
            ++commas;
    }
    return tabs > commas ? QChar(u'\t') : QChar(u',');
}

} // namespace

CsvText CsvText::parse(QString text) {
    CsvText csv;
    csv.text = std::move(text);
    csv.delimiter = delimiterOf(csv.text);
    const QString& t = csv.text;
    const qsizetype n = t.size();
    const qsizetype firstBreak = t.indexOf(u'\n');
    if (firstBreak >= 0 && (firstBreak == 0 || t.at(firstBreak - 1) != u'\r'))
        csv.lineEnd = QStringLiteral("\n");

    qsizetype i = t.startsWith(QChar(0xFEFF)) ? 1 : 0;
    while (i < n) {
        Record record;
        for (;;) {
            const qsizetype start = i;
            if (i < n && t.at(i) == u'"') {
                for (++i; i < n; ++i) {
                    if (t.at(i) == u'"') {
                        if (i + 1 < n && t.at(i + 1) == u'"')
                            ++i;
                        else
                            break;
                    }
                }
                if (i < n)
                    ++i;
            }
            while (i < n && t.at(i) != csv.delimiter && t.at(i) != u'\n' && t.at(i) != u'\r')
                ++i;
            record.fields.append({start, i});
            if (i < n && t.at(i) == csv.delimiter) {
                ++i;
                continue;
            }
            break;
        }
        record.end = i;
        if (i < n && t.at(i) == u'\r')
            ++i;
        if (i < n && t.at(i) == u'\n')
            ++i;
        csv.records.append(record);
    }
    return csv;
}

QString CsvText::value(int record, int field) const {
    if (record < 0 || record >= records.size() || field < 0 ||
        field >= records.at(record).fields.size())
        return QString();
    const auto [start, end] = records.at(record).fields.at(field);
    const QStringView raw = QStringView(text).mid(start, end - start);
    if (!raw.startsWith(u'"'))
        return raw.toString();
    const qsizetype close = raw.lastIndexOf(u'"');
    QString inner = raw.mid(1, close > 0 ? close - 1 : raw.size() - 1).toString();
    inner.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return inner + raw.mid(close > 0 ? close + 1 : raw.size()).toString();
}

QString CsvText::written(const QString& value, QChar delimiter) {
    if (!value.contains(delimiter) && !value.contains(u'"') && !value.contains(u'\n') &&
        !value.contains(u'\r'))
        return value;
    return u'"' + QString(value).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

} // namespace mldd
