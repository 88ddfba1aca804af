#pragma once

#include "LabelSettings.h"
#include "PrintChecks.h"

#include "core/Notice.h"
#include "waybill/PageModel.h"

#include <variant>

namespace mldd {

class Spooler;

/** Where one job goes once the checks let it: a printer, or the folder of "打印到快递文件". */
struct JobTarget {
    CheckedPrinter printer;
    QString fileFolder;
    int dotsPerInch = kDefaultDotsPerInch; // the printer's, so that bars are whole dots on it
    LabelSettings label;                   // a label printer's language instead of PDF
};

/** A job identity no other job has, as the spooler takes it ("urn:uuid:…"). */
QString newJobUuid();

/**
 * Sends `pages` as one job titled `title` that carries `uuid`, moved by the
 * printer's offsets: the spooler's job id (0 for a file), or why it was not sent.
 * A file is named by the title, or by the title and `orderId` where another file
 * has that name already; it never replaces one.
 */
std::variant<int, QString> sendJob(Spooler& spooler, const JobTarget& target,
                                   const QList<PageModel>& pages, const QString& title,
                                   qint64 orderId, const QString& uuid);

/**
 * One page on the waybill printer outside a run (the designer's test print):
 * the queue must be free as for a run, and no order is marked. Why not, when
 * it was not sent.
 */
std::optional<Notice> printTestPage(Spooler& spooler, const PrinterSetup& setup,
                                    const CheckedPrinter& printer, const PageModel& page,
                                    const QString& title, const QString& fileFolder);

} // namespace mldd
