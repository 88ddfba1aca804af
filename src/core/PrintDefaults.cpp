#include "PrintDefaults.h"

#include "LocationCode.h"
#include "SettingsFile.h"

namespace mldd {

PrintDefaults PrintDefaults::load(const DataFolder& folder, const ErrorLog& log) {
    PrintDefaults defaults;
    defaults.verticalScale =
        readSettingsLine(folder.settingsFile(QStringLiteral("Print_set_fh_font.dat")),
                         kVerticalScale, log, LocationCode::PrintSettings);
    defaults.paperRecord =
        readSettingsLine(folder.settingsFile(QStringLiteral("Print_set_fh_default.dat")),
                         kPaperRecord, log, LocationCode::PrintSettings);
    defaults.waybillPrinter =
        readSettingsLine(folder.settingsFile(QStringLiteral("Print_kd_default.dat")), QString(),
                         log, LocationCode::WaybillPrinter);
    return defaults;
}

} // namespace mldd
