#pragma once

#include "core/Notice.h"

#include <QString>

#include <optional>

namespace mldd {

/** A page as a capture source hands it to the capture flow: its address and its text. */
struct CapturedPage {
    /** More text than any order page holds; a bigger one is refused before the rules see it. */
    static constexpr qsizetype kMaxTextBytes = 16 * 1024 * 1024;

    QString address;
    QString text;

    /** The built-in browser's capture: the address cut before "!" and "?", "[MYIE]" + body text. */
    static CapturedPage fromBrowser(const QString& documentAddress, const QString& bodyText);

    /** The refusal of a page text too big to be an order page. */
    static std::optional<Notice> refuseOversized(const QString& text);
};

} // namespace mldd
