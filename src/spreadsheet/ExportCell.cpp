#include "ExportCell.h"

#include <QRegularExpression>

namespace mldd::ExportCell {

QString clean(const QString& text) {
    QString cell = text.trimmed();
    if (cell.startsWith(QStringLiteral("=\"")) && cell.endsWith(u'"') && cell.size() >= 3)
        cell = cell.mid(2, cell.size() - 3).trimmed();
    if (cell.startsWith(u'\'') || cell.startsWith(u'`'))
        cell = cell.mid(1).trimmed();
    if (cell == u"-" || cell == u"--")
        return QString();
    return cell;
}

QString trackingNumber(const QString& text) {
    static const QRegularExpression label(QStringLiteral("^No[:：]\\s*"),
                                          QRegularExpression::CaseInsensitiveOption);
    return clean(text).remove(label).remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace mldd::ExportCell
