#pragma once

#include "DataFolder.h"
#include "ErrorLog.h"

namespace mldd {

/** Spreadsheet-import options of set/Jgf.dat: five fields separated by "[JGF]". */
struct ImportOptions {
    QString firstSeparator;
    QString secondSeparator;
    bool firstSeparatorChosen = true;
    bool mergeSameBuyer = true;

    static ImportOptions fromLine(const QString& line);
    QString toLine() const;

    static ImportOptions load(const DataFolder& folder, const ErrorLog& log);
    bool save(const DataFolder& folder, const ErrorLog& log) const;
};

} // namespace mldd
