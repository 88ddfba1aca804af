#pragma once

#include <QRandomGenerator>
#include <QStringList>

namespace mldd::test {

/**
 * Tracking numbers of the couriers' own shapes (letters first, all digits of
 * odd and even length, letters at both ends), their digits drawn from a fixed
 * seed: every checksum and code-set switch a day's numbers bring.
 */
inline QStringList variedTrackingNumbers(int count) {
    static const QStringList shapes{"YT##########",    "############",    "7#############",
                                    "#############",   "SF#############", "E@#########CN",
                                    "JT#############", "##########"};
    QRandomGenerator random(25);
    QStringList numbers;
    for (int i = 0; i < count; ++i) {
        QString number = shapes[i % shapes.size()];
        for (QChar& c : number) {
            if (c == u'#')
                c = QChar(u'0' + random.bounded(10));
            else if (c == u'@')
                c = QChar(u'A' + random.bounded(26));
        }
        numbers.append(number);
    }
    return numbers;
}

} // namespace mldd::test
