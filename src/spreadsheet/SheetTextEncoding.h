#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace mldd {

/**
 * How a sheet saved as text (.csv, tab-separated or web-page .xls) was
 * encoded, so that it is read right and written back alike.
 */
struct SheetTextEncoding {
    enum class Encoding { Utf8, Gb18030, Utf16Le, Utf16Be };

    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false;

    QByteArray encoded(const QString& text) const;

    struct Decoded;
    /**
     * UTF-16 by its byte order mark, else UTF-8 when the bytes are valid UTF-8
     * and the file does not say it is GBK (`gbDeclared`), else GB18030; none
     * for bytes that are no text at all.
     */
    static std::optional<Decoded> decode(QByteArray bytes, bool gbDeclared = false);
};

struct SheetTextEncoding::Decoded {
    QString text;
    SheetTextEncoding form;
};

} // namespace mldd
