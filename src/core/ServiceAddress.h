#pragma once

#include "DataFolder.h"
#include "ErrorLog.h"

namespace mldd {

/** The maker's web service, where decode files, templates and help pages come from. */
namespace ServiceAddress {

/** Built in: mldd-service listening on loopback. */
inline const QString kDefault = QStringLiteral("http://127.0.0.1:8717");

/** The first line of g_url.dat without a trailing "/", else the built-in address. */
QString read(const DataFolder& folder, const ErrorLog& log);

} // namespace ServiceAddress
} // namespace mldd
