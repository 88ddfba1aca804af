#pragma once

#include "LabelSettings.h"
#include "PrintChecks.h"

#include "core/Notice.h"
#include "waybill/PageModel.h"

#include <memory>
#include <optional>
#include <variant>

class QTemporaryFile;

namespace mldd {

class Spooler;

/** Where one job goes once the checks let it: a printer, or the folder of "打印到快递文件". */
struct JobTarget {
    CheckedPrinter printer;
    QString fileFolder;
    int dotsPerInch = kDefaultDotsPerInch; // the printer's, so that bars are whole dots on it
    LabelSettings label;                   // a label printer's language instead of PDF
};

/**
 * The pages on paper of `paperMm`, each its content where it was laid out:
 * a form lands on the paper loaded as it does on its own.
 */
QList<PageModel> onPaper(QList<PageModel> pages, QSizeF paperMm);

/** A job identity no other job has, as the spooler takes it ("urn:uuid:…"). */
QString newJobUuid();

/**
 * A job drawn and ready to go: for a printer, its PDF in a temporary file
 * that lives as long as the job, or a label printer's own commands; for the
 * file folder, nothing yet.
 */
struct ReadyJob {
    std::shared_ptr<QTemporaryFile> pdf;
    std::optional<QByteArray> raw;
};

/** Draws `pages` for `target`, moved by the printer's offsets; why not, when it could not. */
std::variant<ReadyJob, QString> prepareJob(const JobTarget& target, const QList<PageModel>& pages);

/**
 * Hands a prepared job titled `title` that carries `uuid` over: the spooler's
 * job id (0 for a file), or why it was not sent. A file is named by the title,
 * or by the title and `orderId` where another file has that name already; it
 * never replaces one.
 */
std::variant<int, QString> submitJob(Spooler& spooler, const JobTarget& target,
                                     const QList<PageModel>& pages, const ReadyJob& job,
                                     const QString& title, qint64 orderId, const QString& uuid);

/** Prepares and submits at once. */
std::variant<int, QString> sendJob(Spooler& spooler, const JobTarget& target,
                                   const QList<PageModel>& pages, const QString& title,
                                   qint64 orderId, const QString& uuid);

/**
 * Pages on a printer outside a run (the designer's test print, a picking
 * list): the queue must be free as for a run, and no order is marked. Why
 * not, naming `what` did not print, when it was not sent.
 */
std::optional<Notice> printOutsideRun(Spooler& spooler, const PrinterSetup& setup,
                                      const CheckedPrinter& printer, const QList<PageModel>& pages,
                                      const QString& title, const QString& fileFolder,
                                      const QString& what);

} // namespace mldd
