#pragma once

#include <QSizeF>
#include <QString>

namespace mldd {

/** The paper of shipping lists, from its record "name|mm|mm|twips|twips|…". */
struct ShippingPaper {
    /** A4 portrait, for records that name no usable size. */
    static inline const QSizeF kA4{11904, 16840};

    QSizeF size = kA4; // twips

    static ShippingPaper fromRecord(const QString& record);
};

} // namespace mldd
