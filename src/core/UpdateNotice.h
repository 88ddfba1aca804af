#pragma once

#include "DataFolder.h"
#include "ErrorLog.h"

namespace mldd {

/** The update-notice record of update_msg.dat: fields separated by "[U]". */
struct UpdateNotice {
    QString version;
    QString count;
    QString serverAddress;
    QString siteAddress;
    QString code;

    static UpdateNotice builtIn();

    /**
     * The file's record. A missing file gives the built-in record; a line with
     * fewer than four fields is a broken file, which is deleted.
     */
    static UpdateNotice load(const DataFolder& folder, const ErrorLog& log);
};

} // namespace mldd
