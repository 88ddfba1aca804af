#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>

namespace mldd {

/** One job of a printer's queue as the spooler reports it. */
struct SpoolerJob {
    // IPP job-state values.
    static constexpr int kPending = 3;
    static constexpr int kHeld = 4;
    static constexpr int kProcessing = 5;
    static constexpr int kStopped = 6;
    static constexpr int kCancelled = 7;
    static constexpr int kAborted = 8;
    static constexpr int kCompleted = 9; // the page came out

    int id = 0;
    QString title;
    int state = 0;       // one of the above
    QStringList reasons; // job-state-reasons
    QString uuid;        // the one the sender gave it, so that it can be found without its id

    /** Ended: the spooler will do no more with it. */
    bool ended() const { return state >= kCancelled; }
    /** Its sender died before the whole document arrived: it can never print. */
    bool incomplete() const { return reasons.contains(QStringLiteral("job-incoming")); }
};

/** What asking the spooler about one printer gave. */
struct PrinterQuery {
    static inline const QString kRetrieved = QStringLiteral("Printer info retrieved");
    static inline const QString kNoJobs = QStringLiteral("No Print Jobs!");

    QString printer;           // the name asked about
    QString status;            // kRetrieved, or why the printer could not be asked
    QString jobs;              // kNoJobs, or the job lines
    QString printerState;      // "Printer Status = …", for diagnostics
    bool printerReady = false; // takes jobs and is not stopped by a pause or a fault
    QString driver;            // make and model, for diagnostics
    QString port;              // device URI, for diagnostics

    bool retrieved() const { return status == kRetrieved; }
    bool idle() const { return retrieved() && jobs == kNoJobs; }

    /** The lines a seller can read to someone who helps: name, driver, port, status. */
    QString diagnostics() const {
        return QStringLiteral("Printer Name = %1\nPrinter Driver Name = %2\n"
                              "Printer Port Name = %3\n%4")
            .arg(printer, driver, port, printerState);
    }
};

/** The system's print spooler: which printers exist, how their queues stand, taking jobs. */
class Spooler {
public:
    virtual ~Spooler() = default;

    virtual QStringList destinations() = 0;
    /** The system's default printer; empty when it has none. */
    virtual QString defaultDestination() = 0;
    virtual PrinterQuery query(const QString& printer) = 0;

    /**
     * Submits a PDF file as one job that carries `uuid` ("urn:uuid:…"),
     * telling the driver the paper (mm) when one is given; its id, or none
     * with the reason in `error`.
     */
    virtual std::optional<int> submit(const QString& printer, const QString& title,
                                      const QString& pdfPath, const QString& uuid,
                                      std::optional<QSizeF> paperMm, QString* error) = 0;

    /**
     * Submits `bytes` as one job in the printer's own language
     * (application/vnd.cups-raw), passed to it untouched; as submit().
     */
    virtual std::optional<int> submitRaw(const QString& printer, const QString& title,
                                         const QByteArray& bytes, const QString& uuid,
                                         QString* error) = 0;

    /**
     * Every job of this printer the spooler keeps, ended or not, oldest first
     * (none for a printer that no longer exists); none when the spooler did
     * not answer.
     */
    virtual std::optional<QList<SpoolerJob>> keptJobs(const QString& printer) = 0;

    /** One job as it stands now; none when the spooler does not know it. */
    virtual std::optional<SpoolerJob> job(const QString& printer, int id) = 0;

    /** Cancels a job that has not ended; whether the spooler did. */
    virtual bool cancel(const QString& printer, int id) = 0;

    /** The printer's resolution in dots per inch, 0 when it does not say. */
    virtual int resolution(const QString& printer) = 0;
};

} // namespace mldd
