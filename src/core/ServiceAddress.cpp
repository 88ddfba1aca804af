#include "ServiceAddress.h"

#include "LocationCode.h"
#include "SettingsFile.h"

namespace mldd::ServiceAddress {

QString read(const DataFolder& folder, const ErrorLog& log) {
    QString base = readSettingsLine(folder.programFile(QStringLiteral("g_url.dat")), kDefault, log,
                                    LocationCode::ServiceAddress);
    // Service paths begin with "/"; a slash left at the end would double it.
    while (base.endsWith(u'/'))
        base.chop(1);
    return base.isEmpty() ? kDefault : base;
}

} // namespace mldd::ServiceAddress
