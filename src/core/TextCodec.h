#pragma once

#include <QByteArray>
#include <QString>

namespace mldd {

/** Conversions between text and the byte forms found in the data folder. */
namespace TextCodec {

/**
 * UTF-8 when the bytes are valid UTF-8, else GB18030 (GBK and the characters
 * beyond it): a seller's old files still load.
 */
QString decodeFileBytes(const QByteArray& bytes);

/** Code page 936 (GBK) to text; bytes that are no GBK character become U+FFFD. */
QString fromGbk(const QByteArray& bytes);

/** Text to code page 936; characters GBK cannot hold become "?". */
QByteArray toGbk(const QString& text);

/** GB18030, the national encoding that holds every character; what Chinese Windows saves. */
QString fromGb18030(const QByteArray& bytes);
QByteArray toGb18030(const QString& text);

} // namespace TextCodec
} // namespace mldd
