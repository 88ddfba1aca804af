#pragma once

#include "DataFolder.h"
#include "ErrorLog.h"

namespace mldd {

/** The print set-up files read at start: their first lines, or the defaults. */
struct PrintDefaults {
    static inline const QString kVerticalScale = QStringLiteral("1.00");
    static inline const QString kPaperRecord = QStringLiteral("A4|210|297|11904|16840|0|0|1");

    QString verticalScale = kVerticalScale; // set/Print_set_fh_font.dat
    QString paperRecord = kPaperRecord;     // set/Print_set_fh_default.dat
    QString waybillPrinter;                 // set/Print_kd_default.dat, empty when not chosen

    static PrintDefaults load(const DataFolder& folder, const ErrorLog& log);
};

} // namespace mldd
