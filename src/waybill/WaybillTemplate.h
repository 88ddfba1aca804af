#pragma once

#include "CustomItems.h"
#include "ItemRecord.h"

#include "core/DataFolder.h"
#include "core/ErrorLog.h"

#include <QHash>
#include <QSizeF>

#include <memory>
#include <optional>

namespace mldd {

/** A courier template read for drawing: its items, custom items, background and paper size. */
struct WaybillTemplate {
    /** Paper of a form whose picture does not tell its size: 230 × 127 mm, the common waybill. */
    static inline const QSizeF kDefaultPaper{13039, 7200};

    QString name;
    QList<ItemRecord> items;
    QList<CustomItem> customItems;
    QString backgroundPath;
    QSizeF paper = kDefaultPaper; // twips, from the picture's size and resolution
    QString layoutError;          // why the layout could not be read; empty when it was

    /**
     * Reads the template's files; none when its layout or background is
     * missing. A layout that cannot be read is logged and gives no items.
     */
    static std::optional<WaybillTemplate> load(const DataFolder& folder, const QString& name,
                                               const ErrorLog& log);
};

/**
 * The templates read so far, by name, and the one last used for each sender,
 * which an order without a courier form reuses.
 */
class WaybillTemplates {
public:
    WaybillTemplates(DataFolder folder, ErrorLog log)
        : m_folder(std::move(folder)), m_log(std::move(log)) {}

    /** The template `name` (empty: the sender's last one); null when missing. */
    const WaybillTemplate* find(const QString& name, const QString& senderId);

private:
    DataFolder m_folder;
    ErrorLog m_log;
    QHash<QString, std::shared_ptr<const WaybillTemplate>> m_loaded;
    QHash<QString, QString> m_lastBySender;
};

} // namespace mldd
