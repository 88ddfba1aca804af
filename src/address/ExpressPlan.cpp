#include "ExpressPlan.h"

#include "core/PrintSettings.h"

namespace mldd {

namespace {

// An empty text holds no items at all, not one empty item.
QStringList itemsOf(const QString& text) {
    return text.isEmpty() ? QStringList() : text.split(u':');
}

} // namespace

ExpressPlan ExpressPlan::fromText(const QString& selectKD) {
    const qsizetype bar = selectKD.indexOf(u'|');
    ExpressPlan plan;
    plan.courierNames = itemsOf(selectKD.left(bar));
    if (bar >= 0)
        plan.items = itemsOf(selectKD.mid(bar + 1).section(u'|', 0, 0));
    return plan;
}

QString ExpressPlan::toText() const {
    return courierNames.join(u':') + u'|' + items.join(u':');
}

QStringList ExpressPlan::defaultCourierNames() {
    return fromText(PrintSettings::kDefaultCourierPlan).courierNames;
}

} // namespace mldd
