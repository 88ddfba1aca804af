#include "TextCodec.h"

#include <QStringDecoder>

#include <iconv.h>

#include <cerrno>

namespace mldd::TextCodec {

namespace {

// glibc's iconv carries the true code page 936 table; Qt's own converters do not.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid())
            iconv_close(m_handle);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`; an input sequence that cannot be converted is
    // replaced by `replacement` after skipping `skip` bytes.
    QByteArray convert(const QByteArray& in, const QByteArray& replacement, int skip) {
        QByteArray out;
        out.reserve(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.constData());
        size_t srcLeft = size_t(in.size());
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(m_handle, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, qsizetype(dst - buffer));
            if (rc != size_t(-1) || errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: an unconvertible or truncated sequence.
            out.append(replacement);
            const size_t step = std::min(srcLeft, size_t(skip));
            src += step;
            srcLeft -= step;
        }
        return out;
    }

private:
    iconv_t m_handle;
};

QString decodeWith(const char* codePage, const QByteArray& bytes) {
    Iconv cd("UTF-16LE", codePage);
    if (!cd.valid())
        return QString::fromLatin1(bytes);
    const QByteArray utf16 = cd.convert(bytes, QByteArray("\xFD\xFF", 2), 1);
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

QByteArray encodeWith(const char* codePage, const QString& text) {
    Iconv cd(codePage, "UTF-16LE");
    if (!cd.valid())
        return text.toLatin1();
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return cd.convert(utf16, "?", 2);
}

} // namespace

QString decodeFileBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    return fromGb18030(bytes);
}

QString fromGbk(const QByteArray& bytes) {
    return decodeWith("CP936", bytes);
}

QByteArray toGbk(const QString& text) {
    return encodeWith("CP936", text);
}

QString fromGb18030(const QByteArray& bytes) {
    return decodeWith("GB18030", bytes);
}

QByteArray toGb18030(const QString& text) {
    return encodeWith("GB18030", text);
}

} // namespace mldd::TextCodec
