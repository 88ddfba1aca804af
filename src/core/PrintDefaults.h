#pragma once

#include "DataFolder.h"
#include "ErrorLog.h"

namespace mldd {

/** The print set-up files of data/set/: their first lines, or the defaults. */
struct PrintDefaults {
    static inline const QString kWaybillPrinterFile = QStringLiteral("Print_kd_default.dat");
    static inline const QString kListPrinterFile = QStringLiteral("Print_fh_Default.dat");
    static inline const QString kPaperFile = QStringLiteral("Print_set_fh_Default.dat");
    static inline const QString kVerticalScaleFile = QStringLiteral("Print_set_fh_font.dat");

    static inline const QString kVerticalScale = QStringLiteral("1.00");
    static inline const QString kPaperRecord = QStringLiteral("A4|210|297|11904|16840|0|0|1");

    QString verticalScale = kVerticalScale; // set/Print_set_fh_font.dat
    QString paperRecord = kPaperRecord;     // set/Print_set_fh_Default.dat
    bool paperChosen = false;               // that file exists with a record
    QString waybillPrinter;                 // set/Print_kd_default.dat, empty when not chosen
    QString listPrinter;                    // set/Print_fh_Default.dat, empty when not chosen

    static PrintDefaults load(const DataFolder& folder, const ErrorLog& log);
};

} // namespace mldd
