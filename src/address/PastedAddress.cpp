#include "PastedAddress.h"

#include <QStringList>

namespace mldd {

namespace {

const QChar kComma = u'，';
const QChar kColon = u'：';

// A first comma this far in means the block starts with the address.
constexpr qsizetype kAddressFirstFrom = 6;
// A heading line whose line break lies before this position is dropped.
constexpr qsizetype kHeadingBreakBefore = 10;
// A "second telephone" this long is the address of a block without one.
constexpr qsizetype kAddressLength = 16;

QString normaliseCommas(QString text) {
    text.replace(u',', kComma);
    for (int round = 0; round < 2; ++round) {
        text.replace(QStringLiteral("， "), QString(kComma));
        text.replace(QStringLiteral(" ，"), QString(kComma));
    }
    return text;
}

// Short heading lines go; of the rest only the first line stays, without a
// label before "：". Pasted text may end its lines with LF alone.
QString firstAddressLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (qsizetype at = text.indexOf(u'\n'); at >= 0 && at + 1 < kHeadingBreakBefore;
         at = text.indexOf(u'\n'))
        text.remove(0, at + 1);
    const qsizetype end = text.indexOf(u'\n');
    if (end >= 0)
        text.truncate(end);
    const qsizetype colon = text.indexOf(kColon);
    if (colon >= 0)
        text.remove(0, colon + 1);
    return text;
}

// Parts `from` to `to`, each trimmed, joined by single spaces.
QString joinedParts(const QStringList& parts, qsizetype from, qsizetype to) {
    QString joined;
    for (qsizetype i = from; i <= to; ++i)
        joined += u' ' + parts.at(i).trimmed();
    return joined.trimmed();
}

void withoutZipcode(ReceiverBoxes& boxes) {
    if (!boxes.zipcode.isEmpty())
        boxes.address = boxes.address.remove(boxes.zipcode).trimmed();
}

// The layout that begins with the name: name, then up to two telephones.
void nameAndPhones(ReceiverBoxes& boxes, const QStringList& parts) {
    const qsizetype last = parts.size() - 1;
    boxes.name = parts.at(0).trimmed();
    if (last >= 1)
        boxes.phone1 = parts.at(1);
    if (last >= 2)
        boxes.phone2 = parts.at(2);
}

void nameFirst(ReceiverBoxes& boxes, const QStringList& parts) {
    const qsizetype last = parts.size() - 1;
    nameAndPhones(boxes, parts);
    if (last >= 3)
        boxes.address = joinedParts(parts, 3, last);
    if (last >= 4)
        boxes.zipcode = parts.at(last).trimmed();
    withoutZipcode(boxes);
}

void addressFirst(ReceiverBoxes& boxes, const QStringList& parts) {
    boxes.address = parts.at(0).trimmed();
    if (parts.size() > 1)
        boxes.zipcode = parts.at(1).trimmed();
    if (parts.size() > 2)
        boxes.name = parts.at(2).trimmed();
    if (parts.size() > 3)
        boxes.phone1 = parts.at(3).trimmed();
    const qsizetype space = boxes.phone1.indexOf(u' ');
    if (space >= 0) {
        boxes.phone2 = boxes.phone1.mid(space + 1).trimmed();
        boxes.phone1.truncate(space);
    }
    withoutZipcode(boxes);
}

} // namespace

void RecognizePastedAddress(ReceiverBoxes& boxes) {
    const QString line = firstAddressLine(normaliseCommas(boxes.address));
    const QStringList parts = line.split(kComma);
    const qsizetype comma = line.indexOf(kComma);
    if (comma + 1 >= kAddressFirstFrom)
        addressFirst(boxes, parts);
    else
        nameFirst(boxes, parts);
    if (boxes.phone2.size() >= kAddressLength) {
        boxes.zipcode = boxes.address;
        boxes.address = boxes.phone2;
        boxes.phone2.clear();
    }
}

void RecognizeInEditPanel(ReceiverBoxes& boxes) {
    const QStringList parts = firstAddressLine(boxes.address).split(kComma);
    const qsizetype last = parts.size() - 1;
    nameAndPhones(boxes, parts);
    if (last == 3)
        boxes.address = parts.at(3).trimmed();
    if (last >= 4) {
        boxes.address = joinedParts(parts, 3, last - 1);
        boxes.zipcode = parts.at(last).trimmed();
    }
}

} // namespace mldd
