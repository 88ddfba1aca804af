#pragma once

#include "core/Notice.h"

#include <optional>

namespace mldd {

/** Which page of one composed shipping list the preview shows, and the turning of its pages. */
class ShippingListPager {
public:
    /** Starts on page 1 of a list of `pageCount` pages. */
    explicit ShippingListPager(int pageCount = 1) : m_count(pageCount > 0 ? pageCount : 1) {}

    int current() const { return m_current; }
    int count() const { return m_count; }

    /** The page label: "2/3". */
    QString label() const;

    /** Turns to the next page; at the last page the page stays and the notice tells why. */
    std::optional<Notice> next();
    /** Turns to the previous page; at page 1 the page stays and the notice tells why. */
    std::optional<Notice> previous();

private:
    int m_current = 1;
    int m_count;
};

} // namespace mldd
