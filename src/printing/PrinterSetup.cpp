#include "PrinterSetup.h"

#include "OffsetUnits.h"

#include "core/LocationCode.h"
#include "core/SettingsFile.h"
#include "waybill/LayoutCodec.h"

#include <QFileInfo>

namespace mldd {

std::optional<Notice> PrinterSetup::refusal(const QString& printer) {
    static const QStringList refused = {QStringLiteral("Microsoft XPS Document Writer"),
                                        QStringLiteral("Fax"),
                                        QStringLiteral("Microsoft Office Document Image Writer")};
    if (!refused.contains(printer))
        return std::nullopt;
    return Notice{QStringLiteral("您选择的打印机不正确，请重新选择！"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Exclamation};
}

std::optional<Notice> PrinterSetup::chooseWaybillPrinter(const QString& printer) const {
    if (auto notice = refusal(printer))
        return notice;
    if (!write(PrintDefaults::kWaybillPrinterFile, printer))
        return Notice{QStringLiteral("无法保存打印机设置：%1")
                          .arg(m_folder.settingsFile(PrintDefaults::kWaybillPrinterFile)),
                      QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
    return std::nullopt;
}

namespace {

// The codec's characters are letters and digits; safeFileName only guards against the odd one.
QString printerFile(const DataFolder& folder, const QString& printer, const QString& suffix) {
    return folder.settingsFile(DataFolder::safeFileName(LayoutCodec::encode(printer) + suffix));
}

} // namespace

QString PrinterSetup::offsetFile(const QString& printer) const {
    return printerFile(m_folder, printer, QStringLiteral(".dat"));
}

QString PrinterSetup::resolutionFile(const QString& printer) const {
    // "_" is no character of the codec: no printer's offset file has this name.
    return printerFile(m_folder, printer, QStringLiteral("_dpi.dat"));
}

QString PrinterSetup::labelFile(const QString& printer) const {
    return printerFile(m_folder, printer, QStringLiteral("_label.dat"));
}

std::optional<int> PrinterSetup::resolution(const QString& printer) const {
    const QString path = resolutionFile(printer);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    bool ok = false;
    const int dotsPerInch =
        readSettingsLine(path, QString(), m_log, LocationCode::WaybillPrinter).trimmed().toInt(&ok);
    if (!ok || !kResolutions.contains(dotsPerInch))
        return std::nullopt; // an edited file does not lay bars out for a printer nobody has
    return dotsPerInch;
}

bool PrinterSetup::saveResolution(const QString& printer, int dotsPerInch) const {
    return writeSettingsFile(resolutionFile(printer), {QString::number(dotsPerInch)}, m_log,
                             LocationCode::WaybillPrinter);
}

std::optional<PrinterOffsets> PrinterSetup::offsets(const QString& printer) const {
    const QString path = offsetFile(printer);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    const QString line = readSettingsLine(path, QString(), m_log, LocationCode::WaybillPrinter);
    return PrinterOffsets{line.section(u'|', 0, 0).trimmed().toInt(),
                          line.section(u'|', 1, 1).trimmed().toInt()};
}

bool PrinterSetup::saveOffsets(const QString& printer, PrinterOffsets offsets) const {
    return writeSettingsFile(
        offsetFile(printer),
        {QStringLiteral("%1|%2").arg(offsets.horizontal).arg(offsets.vertical)}, m_log,
        LocationCode::WaybillPrinter);
}

double PrinterSetup::verticalFactor() const {
    return OffsetUnits::factorFromText(load().verticalScale);
}

bool PrinterSetup::saveVerticalFactor(double factor) const {
    return write(PrintDefaults::kVerticalScaleFile, OffsetUnits::factorText(factor));
}

PrintPlacement PrinterSetup::placement(const QString& printer) const {
    const PrinterOffsets saved = offsets(printer).value_or(PrinterOffsets{});
    return {double(saved.horizontal), double(saved.vertical), verticalFactor()};
}

bool PrinterSetup::saveListPrinter(const QString& printer, const QString& paperRecord) const {
    return write(PrintDefaults::kListPrinterFile, printer) &&
           write(PrintDefaults::kPaperFile, paperRecord);
}

bool PrinterSetup::write(const QString& name, const QString& line) const {
    return writeSettingsFile(m_folder.settingsFile(name), {line}, m_log,
                             LocationCode::PrintSettings);
}

} // namespace mldd
