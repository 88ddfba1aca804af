#pragma once

#include <QString>

namespace mldd {

// The decode and goods rules see a page's line breaks as this mark.
inline const QString kPageLineEnd = QStringLiteral("\r\n");
inline const QString kLineMark = QStringLiteral("[VBCRLF]");

} // namespace mldd
