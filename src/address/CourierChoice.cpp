#include "CourierChoice.h"

#include "core/MainState.h"

namespace mldd {

namespace {

Notice courierNotice(const QString& text) {
    return Notice{text, QStringLiteral("墨岚快递单打印软件"), Notice::Icon::Information};
}

// The first courier named in the messages, when an installed template carries that name.
std::optional<QString> namedInMessages(const ExpressPlan& plan, const QStringList& templates,
                                       const QString& messages) {
    const QString upper = messages.toUpper();
    for (const QString& courier : plan.courierNames) {
        if (courier.isEmpty() || !upper.contains(courier))
            continue;
        for (const QString& name : templates) {
            if (name.contains(courier))
                return name;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

CourierChoice ChooseCourier(const ExpressPlan& plan, const QStringList& templates,
                            const QString& messages, const QString& address,
                            const QString& senderCourier) {
    CourierChoice choice;
    if (templates.isEmpty()) {
        choice.notice = courierNotice(QStringLiteral("您需要下载快递模版！"));
        return choice;
    }
    const bool senderHasCourier = !senderCourier.isEmpty() && templates.contains(senderCourier);
    if (plan.items.isEmpty() && senderHasCourier) {
        choice.templateName = senderCourier;
        return choice;
    }
    if (plan.items.isEmpty()) {
        choice.notice = courierNotice(QStringLiteral("您需要设置快递方案！"));
        choice.openPlanPanel = true;
        return choice;
    }
    if (plan.messagesFirst()) {
        if (const std::optional<QString> named = namedInMessages(plan, templates, messages)) {
            choice.templateName = *named;
            return choice;
        }
    }
    for (qsizetype i = 1; i < plan.items.size(); i += 2) {
        const QString& province = plan.items.at(i);
        if (!province.isEmpty() && address.contains(province) &&
            !plan.items.value(i + 1).isEmpty()) {
            choice.templateName = plan.items.value(i + 1);
            return choice;
        }
    }
    choice.templateName = senderHasCourier ? senderCourier : plan.items.value(2);
    return choice;
}

CourierChoice ChooseCourierFor(const MainState& state, const ExpressPlan& plan,
                               const Order& order) {
    QString senderCourier;
    for (const SenderProfile& profile : state.profiles)
        if (profile.myIdh == order.myId)
            senderCourier = profile.delivery;
    return ChooseCourier(plan, state.templates, order.buyLy + order.sellerMem,
                         order.buyAddressSheng + order.buyAddressShi + order.buyAddressXian +
                             order.buyAddress,
                         senderCourier);
}

} // namespace mldd
