#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"

namespace mldd {

/**
 * The seller-id bindings of idlist.dat: a captured shop-and-seller value and
 * the sender ID bound to it, each entry written "[1]captured[2]bound[3]".
 */
class SellerBindings {
public:
    static SellerBindings load(const DataFolder& folder, const ErrorLog& log);

    /** The value bound to `captured`, or `captured` itself when it has no binding. */
    QString resolve(const QString& captured) const;

    /** Binds `captured` to `bound`, replacing an earlier binding, and saves the file. */
    bool bind(const QString& captured, const QString& bound, const DataFolder& folder,
              const ErrorLog& log);

    /** Deletes the file: every binding is gone. The message to show. */
    static QString clear(const DataFolder& folder);

private:
    static QString path(const DataFolder& folder);

    QString m_text;
};

} // namespace mldd
