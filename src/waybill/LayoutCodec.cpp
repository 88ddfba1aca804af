#include "LayoutCodec.h"

#include "core/TextCodec.h"

#include <QList>

namespace mldd::LayoutCodec {

namespace {

constexpr int kBase = 57;

// Signed 16-bit codes as the original platform's Asc gave them: a double-byte
// character has its lead byte in the high byte and comes out negative.
QList<int> codesOf(const QString& text) {
    const QByteArray bytes = TextCodec::toGbk(text);
    QList<int> codes;
    codes.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[++i]);
            codes.append(((lead << 8) | trail) - 0x10000);
        } else {
            codes.append(lead);
        }
    }
    return codes;
}

void appendCharacter(QByteArray& bytes, long code) {
    if (code < 0)
        code += 0x10000;
    if (code > 0xFF)
        bytes.append(char(code >> 8));
    bytes.append(char(code & 0xFF));
}

} // namespace

int shiftFor(qsizetype length) {
    const int k = 5 - int(length % 10);
    return k < 1 ? k - 1 : k;
}

QString encode(const QString& text) {
    QString digits;
    for (int code : codesOf(text)) {
        digits += QString::number(code);
        digits += u'/';
    }
    const int shift = kBase + shiftFor(digits.size());
    for (QChar& c : digits)
        c = QChar(c.unicode() + shift);
    return digits;
}

std::optional<QString> decode(const QString& stored) {
    const int shift = kBase + shiftFor(stored.size());
    QByteArray bytes;
    QString number;
    for (QChar c : stored) {
        const int plain = c.unicode() - shift;
        if (plain == '/') {
            bool ok = false;
            const long code = number.toLong(&ok);
            if (!ok || code < -0x8000 || code > 0xFFFF)
                return std::nullopt;
            appendCharacter(bytes, code);
            number.clear();
        } else if ((plain >= '0' && plain <= '9') || plain == '-') {
            number += QChar(plain);
        } else {
            return std::nullopt;
        }
    }
    if (!number.isEmpty())
        return std::nullopt;
    return TextCodec::fromGbk(bytes);
}

} // namespace mldd::LayoutCodec
