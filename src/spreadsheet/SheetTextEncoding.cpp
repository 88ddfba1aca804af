#include "SheetTextEncoding.h"

#include "core/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace mldd {

QByteArray SheetTextEncoding::encoded(const QString& text) const {
    switch (encoding) {
    case Encoding::Gb18030:
        return TextCodec::toGb18030(text);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        QStringEncoder utf16(encoding == Encoding::Utf16Le ? QStringEncoder::Utf16LE
                                                           : QStringEncoder::Utf16BE,
                             QStringEncoder::Flag::WriteBom);
        return utf16.encode(text);
    }
    case Encoding::Utf8:
        break;
    }
    return (byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
}

std::optional<SheetTextEncoding::Decoded> SheetTextEncoding::decode(QByteArray bytes,
                                                                    bool gbDeclared) {
    Decoded result;
    // Excel's "Unicode text" and UTF-16 CSV: told by their byte order mark.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        result.form.encoding = little ? Encoding::Utf16Le : Encoding::Utf16Be;
        result.form.byteOrderMark = true;
        QStringDecoder utf16(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        result.text = utf16(bytes.mid(2));
        if (utf16.hasError())
            return std::nullopt;
        return result;
    }
    if (bytes.contains('\0'))
        return std::nullopt;
    result.form.byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (result.form.byteOrderMark)
        bytes.remove(0, 3);
    if (!gbDeclared || result.form.byteOrderMark) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        result.text = utf8(bytes);
        if (!utf8.hasError())
            return result;
    }
    result.form.encoding = Encoding::Gb18030;
    result.text = TextCodec::fromGb18030(bytes);
    return result;
}

} // namespace mldd
