#include "VersionNumber.h"

#include <QRegularExpression>
#include <QStringList>

namespace mldd::service::VersionNumber {

bool isValid(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,9}(\\.[0-9]{1,9})*$"));
    return pattern.match(text).hasMatch();
}

int compare(const QString& a, const QString& b) {
    const QStringList left = a.split(u'.');
    const QStringList right = b.split(u'.');
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        // A missing part counts as 0, so "4" equals "4.0".
        const long long l = left.value(i).toLongLong();
        const long long r = right.value(i).toLongLong();
        if (l != r)
            return l < r ? -1 : 1;
    }
    return 0;
}

} // namespace mldd::service::VersionNumber
