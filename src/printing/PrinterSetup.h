#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"
#include "core/Notice.h"
#include "core/PrintDefaults.h"
#include "waybill/PagePainter.h"

#include <optional>

namespace mldd {

/** How far waybills on one printer move left and up to land right (twips). */
struct PrinterOffsets {
    int horizontal = 0;
    int vertical = 0;

    bool operator==(const PrinterOffsets&) const = default;
};

/**
 * The printer set-up files of data/set/: the waybill printer, each printer's
 * offsets, the shipping-list printer with its paper, and the vertical factor.
 * Reading goes through PrintDefaults; every write replaces its file whole.
 */
class PrinterSetup {
public:
    /** The waybill printer name that means "print to a waybill file": no printer, no spooler. */
    static inline const QString kPrintToFile = QStringLiteral("打印到快递文件");

    PrinterSetup(const DataFolder& folder, const ErrorLog& log) : m_folder(folder), m_log(log) {}

    PrintDefaults load() const { return PrintDefaults::load(m_folder, m_log); }
    const ErrorLog& log() const { return m_log; }

    /** Printers that cannot print a waybill, with the message that says so; none for the others. */
    static std::optional<Notice> refusal(const QString& printer);

    /** Writes the waybill printer; a refused name changes nothing and gives its notice. */
    std::optional<Notice> chooseWaybillPrinter(const QString& printer) const;

    /** The offset file of a printer: its name in the layout codec's form, then ".dat". */
    QString offsetFile(const QString& printer) const;

    /** The printer's saved offsets; none when it was never adjusted. */
    std::optional<PrinterOffsets> offsets(const QString& printer) const;
    bool saveOffsets(const QString& printer, PrinterOffsets offsets) const;

    /** The stored vertical factor ("1.00" when missing or no number). */
    double verticalFactor() const;
    bool saveVerticalFactor(double factor) const;

    /** Offsets and factor as the page painter applies them for this printer. */
    PrintPlacement placement(const QString& printer) const;

    bool saveListPrinter(const QString& printer, const QString& paperRecord) const;

    /** The resolutions a seller chooses from for a printer that does not tell its own (dpi). */
    static inline const QList<int> kResolutions = {180, 203, 300, 360, 600};

    /** The file of the resolution chosen for a printer: beside its offset file. */
    QString resolutionFile(const QString& printer) const;

    /** The file of the printer's label settings (LabelSetup): beside its offset file. */
    QString labelFile(const QString& printer) const;

    /** The resolution chosen for the printer (dpi); none when it was never chosen. */
    std::optional<int> resolution(const QString& printer) const;
    bool saveResolution(const QString& printer, int dotsPerInch) const;

private:
    bool write(const QString& name, const QString& line) const;

    DataFolder m_folder;
    const ErrorLog& m_log;
};

} // namespace mldd
