#include "WaybillPages.h"

#include "TemplateFiles.h"

#include "core/OrderDatabase.h"
#include "workbench/ContentsNames.h"

#include <QSqlError>
#include <QSqlQuery>

namespace mldd {

WaybillPages::WaybillPages(const DataFolder& folder, const ErrorLog& log,
                           const PrintSettings& settings, const QList<SenderProfile>& senders,
                           QDate today)
    : m_folder(folder), m_templates(folder, log),
      m_renderer(WaybillSettings::fromPrintSettings(settings)), m_today(today) {
    for (const SenderProfile& sender : senders)
        if (!m_senders.contains(sender.myIdh))
            m_senders.insert(sender.myIdh, sender);
}

std::variant<PageModel, Notice> WaybillPages::page(const Order& order) {
    const WaybillTemplate* form = m_templates.find(order.delivery, order.myId);
    // No courier and no form of the sender's before it: nothing is missing that a download
    // could bring, the seller has a courier to choose.
    if (!form && order.delivery.isEmpty())
        return Notice{QStringLiteral("订单%1没有选择快递单据：请在订单的[快递单据]里选一个快递单。")
                          .arg(order.orderSign),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    if (!form)
        return TemplateFiles::missingNotice(order.delivery);
    // A blank waybill would be printed and marked as if it were the real one.
    // So would one without the receiver, as an empty or cut download leaves it.
    const QString refusal =
        form->layoutError.isEmpty()
            ? TemplateFiles::unprintable(form->name, form->items).value_or(QString())
            : form->layoutError;
    if (!refusal.isEmpty())
        return Notice{QStringLiteral("订单%1没有打印：%2").arg(order.orderSign, refusal),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    const auto sender = m_senders.constFind(order.myId);
    // Read at every page, so that a default the seller just set shows on the next preview.
    Order printed = order;
    printed.buyNjpm = ContentsNames::printedFor(m_folder, order);
    const WaybillInput input{printed, sender == m_senders.constEnd() ? nullptr : &*sender, m_today};
    return m_renderer.render(*form, input);
}

QString WaybillPages::formOf(const Order& order) {
    const WaybillTemplate* form = m_templates.find(order.delivery, order.myId);
    return form ? form->name : order.delivery;
}

bool markWaybillsPrinted(OrderDatabase& database, const QList<qint64>& ids, QString* error) {
    return database.inTransaction([&] {
        QSqlQuery update(database.connection());
        update.prepare(
            QStringLiteral("update order_data set kd_sign = 1, kd_print = 1 where id = ?"));
        for (qint64 id : ids) {
            update.addBindValue(id);
            if (!update.exec()) {
                if (error)
                    *error = update.lastError().text();
                return false;
            }
        }
        return true;
    });
}

} // namespace mldd
