#include "ShippingListPager.h"

namespace mldd {

namespace {

Notice refusal(const QString& text) {
    return Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Critical};
}

} // namespace

QString ShippingListPager::label() const {
    return QString::number(m_current) + u'/' + QString::number(m_count);
}

std::optional<Notice> ShippingListPager::next() {
    if (m_current >= m_count)
        return refusal(QStringLiteral("已经是最后一页了！"));
    ++m_current;
    return std::nullopt;
}

std::optional<Notice> ShippingListPager::previous() {
    if (m_current <= 1)
        return refusal(QStringLiteral("已经是第一页了！"));
    --m_current;
    return std::nullopt;
}

} // namespace mldd
