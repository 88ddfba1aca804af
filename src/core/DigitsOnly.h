#pragma once

#include "Notice.h"

#include <optional>

namespace mldd {

/** The refusal of a numeric box that was given anything but the digits 0–9; none for digits. */
inline std::optional<Notice> refuseNonDigits(const QString& text) {
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return Notice{QStringLiteral("只能输入数字。"), QStringLiteral("墨岚打单"),
                          Notice::Icon::Exclamation};
    return std::nullopt;
}

} // namespace mldd
