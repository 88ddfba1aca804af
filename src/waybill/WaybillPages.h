#pragma once

#include "WaybillRenderer.h"
#include "WaybillTemplate.h"

#include "core/Notice.h"

#include <QHash>

#include <variant>

namespace mldd {

class OrderDatabase;

/**
 * Turns orders into waybill pages: finds each order's courier template and
 * sender profile and renders the order with the print settings.
 */
class WaybillPages {
public:
    WaybillPages(const DataFolder& folder, const ErrorLog& log, const PrintSettings& settings,
                 const QList<SenderProfile>& senders, QDate today);

    /** The order's waybill, or the missing-template notice. */
    std::variant<PageModel, Notice> page(const Order& order);

    /** The form the order's waybill goes on: its courier's, else its sender's last one. */
    QString formOf(const Order& order);

private:
    DataFolder m_folder;
    WaybillTemplates m_templates;
    WaybillRenderer m_renderer;
    QHash<QString, SenderProfile> m_senders; // by my_idh
    QDate m_today;
};

/** Marks orders as having their waybill printed (kd_sign and kd_print 1), in one transaction. */
bool markWaybillsPrinted(OrderDatabase& database, const QList<qint64>& ids,
                         QString* error = nullptr);

} // namespace mldd
