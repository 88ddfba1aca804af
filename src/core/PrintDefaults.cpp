#include "PrintDefaults.h"

#include "LocationCode.h"
#include "SettingsFile.h"

namespace mldd {

PrintDefaults PrintDefaults::load(const DataFolder& folder, const ErrorLog& log) {
    const auto line = [&](const QString& name, const QString& location) {
        return readSettingsLine(folder.settingsFile(name), QString(), log, location);
    };
    PrintDefaults defaults;
    const QString scale = line(kVerticalScaleFile, LocationCode::PrintSettings);
    if (!scale.isEmpty())
        defaults.verticalScale = scale;
    const QString paper = line(kPaperFile, LocationCode::PrintSettings);
    defaults.paperChosen = !paper.isEmpty();
    if (defaults.paperChosen)
        defaults.paperRecord = paper;
    defaults.waybillPrinter = line(kWaybillPrinterFile, LocationCode::WaybillPrinter);
    defaults.listPrinter = line(kListPrinterFile, LocationCode::PrintSettings);
    return defaults;
}

} // namespace mldd
