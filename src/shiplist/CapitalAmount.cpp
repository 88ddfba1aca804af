#include "CapitalAmount.h"

#include "DecimalText.h"

#include <QStringList>

namespace mldd {

namespace {

const QString kDigits = QStringLiteral("零壹贰叁肆伍陆柒捌玖");

// The unit written after a character standing k places from the right end
// (the "." stands at 3 and so writes 元); places above 12 have none.
QString unitAt(qsizetype k) {
    static const QStringList units{QString(),
                                   QStringLiteral("分"),
                                   QStringLiteral("角"),
                                   QStringLiteral("元"),
                                   QString(),
                                   QStringLiteral("拾"),
                                   QStringLiteral("佰"),
                                   QStringLiteral("仟"),
                                   QStringLiteral("万"),
                                   QStringLiteral("拾"),
                                   QStringLiteral("佰"),
                                   QStringLiteral("仟"),
                                   QStringLiteral("亿")};
    return k < units.size() ? units[k] : QString();
}

} // namespace

bool isWritableInCapitals(double amount) {
    return amount >= 0 && amount <= kLargestCapitalAmount;
}

QString capitalsRangeText() {
    return QStringLiteral("金额必须在 0 到 %1 之间（大写最高写到亿）")
        .arg(QString::number(kLargestCapitalAmount, 'f', 2));
}

QString ToCapitalAmount(double amount) {
    QString text = shortestDecimalText(amount);
    text += text.contains(u'.') ? QStringLiteral("00") : QStringLiteral(".00");
    text.truncate(text.indexOf(u'.') + 3);

    QString capitals;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9')
            capitals += kDigits[c.unicode() - u'0'];
        if (c != u'0')
            capitals += unitAt(n - i);
    }
    capitals.replace(QStringLiteral("元零零"), QStringLiteral("元整"));
    capitals.replace(QStringLiteral("角零"), QStringLiteral("角整"));
    for (int round = 0; round < 4; ++round)
        capitals.replace(QStringLiteral("零零"), QStringLiteral("零"));
    capitals.replace(QStringLiteral("零元"), QStringLiteral("元"));
    return capitals;
}

} // namespace mldd
