#include "ErrorLog.h"

#include "TextFile.h"

namespace mldd {

void ErrorLog::append(const QString& location, int number, const QString& description) const {
    // A log that cannot be written has nowhere to report to; the caller goes on.
    TextFile::appendLine(m_path,
                         formatLine(QDateTime::currentDateTime(), location, number, description));
}

QString ErrorLog::formatLine(const QDateTime& when, const QString& location, int number,
                             const QString& description) {
    // The long date form a Chinese Windows writes by default: 2026/12/5 9:05:07.
    QString oneLine = description;
    oneLine.replace(u'\r', u' ').replace(u'\n', u' ');
    return when.toString(QStringLiteral("yyyy/M/d H:mm:ss")) + u'|' + location + u'|' +
           QString::number(number) + u'|' + oneLine;
}

} // namespace mldd
