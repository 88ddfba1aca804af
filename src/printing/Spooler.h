#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace mldd {

/** One job of a printer's queue as the spooler reports it. */
struct SpoolerJob {
    int id = 0;
    QString title;
    int state = 0;       // IPP job-state: 3 pending … 9 completed
    QStringList reasons; // job-state-reasons
};

/** What asking the spooler about one printer gave. */
struct PrinterQuery {
    static inline const QString kRetrieved = QStringLiteral("Printer info retrieved");
    static inline const QString kNoJobs = QStringLiteral("No Print Jobs!");

    QString status;            // kRetrieved, or why the printer could not be asked
    QString jobs;              // kNoJobs, or the job lines
    QString printerState;      // "Printer Status = …", for diagnostics
    bool printerReady = false; // takes jobs and is not stopped by a pause or a fault
    QString driver;            // make and model, for diagnostics
    QString port;              // device URI, for diagnostics

    bool retrieved() const { return status == kRetrieved; }
    bool idle() const { return retrieved() && jobs == kNoJobs; }
};

/** The system's print spooler: which printers exist, how their queues stand, taking jobs. */
class Spooler {
public:
    virtual ~Spooler() = default;

    virtual QStringList destinations() = 0;
    /** The system's default printer; empty when it has none. */
    virtual QString defaultDestination() = 0;
    virtual PrinterQuery query(const QString& printer) = 0;

    /** Submits a PDF file as one job; its id, or none with the reason in `error`. */
    virtual std::optional<int> submit(const QString& printer, const QString& title,
                                      const QString& pdfPath, QString* error) = 0;

    /** Jobs of this printer the spooler keeps as completed, oldest first. */
    virtual QList<SpoolerJob> completedJobs(const QString& printer) = 0;

    /** The printer's resolution in dots per inch, 0 when it does not say. */
    virtual int resolution(const QString& printer) = 0;
};

} // namespace mldd
