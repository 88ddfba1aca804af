#pragma once

#include "LabelSettings.h"
#include "PrintChecks.h"
#include "PrintDocuments.h"
#include "PrintFile.h"
#include "PrintJournal.h"

#include "core/OrderClaims.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace mldd {

struct MainState;

/** How a run ended. */
struct PrintRunResult {
    QList<qint64> printedIds; // stored orders printed and marked
    int printed = 0;          // jobs that came out, print-file records included
    int recovered = 0;        // orders a killed run had printed, marked at the start
    int abandoned = 0;        // unprinted jobs of a killed run, cancelled at the start
    int stillPrinting = 0;    // orders whose earlier job may still come out: left out
    int takenElsewhere = 0;   // orders another station's run holds or has printed
    QStringList uncertain;    // orders whose earlier job the spooler forgot: the seller looks
    QStringList problems;     // orders not printed, and why
    QStringList printedTwice; // orders another station took over and printed while this run slept
    bool cancelled = false;
    std::optional<Notice> stopped; // why the run stopped early, when it did
    /** Waybills printed per courier form, in the order the run took the forms. */
    QList<QPair<QString, int>> perCourier;
    /** The run's orders it did not come to because a question or the guide stopped it early, in
     * run order, to go on with; the seller's own 取消 leaves none to offer. */
    QList<qint64> remaining;
    int notReached = 0; // those, print-file records included

    /** The counts as the seller reads them at the end. */
    Notice summary(PrintDocuments::Kind kind) const;
};

/**
 * One print run: checks the printer, marks what a killed run left printed,
 * then prints the orders one at a time, each when the printer's queue is
 * empty again, and marks each order once the spooler reports its job
 * completed; a job cancelled or aborted leaves its order unmarked and named.
 * Runs on the event loop; nothing here blocks for longer than one order.
 */
class PrintRun : public QObject {
    Q_OBJECT

public:
    PrintRun(MainState& state, Spooler& spooler, PrintDocuments::Kind kind, QList<qint64> ids,
             QObject* parent = nullptr);
    /** A run of a print file's records: no spooler check, no recovery, no marks. */
    PrintRun(MainState& state, Spooler& spooler, PrintFile file, QObject* parent = nullptr);
    ~PrintRun() override;

    /** A printer named by the caller instead of the saved one. */
    void setPrinter(const QString& name) { m_chosenPrinter = name; }
    /** Paper (mm) for this run instead of the printer's own: a script's choice. */
    void setPaper(QSizeF paperMm) { m_chosenPaper = paperMm; }
    /** Whether the first printed waybill ever stops the run to show the offset guidance. */
    void setGuidance(bool on) { m_guidance = on; }
    /** Where "打印到快递文件" writes its files. */
    void setFileFolder(const QString& folder) { m_fileFolder = folder; }

    /**
     * Asked before an order whose form differs from the one before, and before
     * the first when the run holds several forms; false stops the run there.
     */
    std::function<bool(const Notice& question)> askPaperChange;

    /** Checks the printer and starts; the refusal, when it does not start. */
    std::optional<Notice> start();
    /** Stops the run once the job in hand has ended. */
    void cancel();

    bool isRunning() const { return m_running; }
    int total() const { return int(m_file ? m_file->records.size() : m_ids.size()); }
    const PrintRunResult& result() const { return m_result; }

signals:
    /** `done` of `total` orders were handled; `orderSign` was the last. */
    void progressed(int done, int total, const QString& orderSign);
    /** The run reached the next ten orders: the list shows its next page. */
    void listPageTurned();
    void finished();

private:
    void printNext();
    void poll();
    void finish();
    enum class Sent { Out, TakenElsewhere, Stop };
    /** Sends one order's pages unless another station took the order over meanwhile. */
    Sent send(const Order& order, const PrintDocuments::Document& document);
    /** Right before a job goes out: whether this run still holds the order. */
    Sent confirmClaim(const Order& order);
    /** What this run's claims are for. */
    OrderClaims::Print claimedPrint() const;
    /** Orders come grouped by courier form, and the first form is asked for when there are several.
     */
    void groupByCourier();
    /** Counts the order printed and marks it; false when the mark could not be saved. */
    bool printed(const Order& order);
    /** Marks the order of the job just ended when it came out, names it when not. */
    void settleSentJob();
    /** After an order: the guidance stop, or on to the next. */
    void afterOrder(const Order& order);
    /** Claims the next slice once the run reaches `index`; false when the store refused. */
    bool claimSliceAt(int index);
    /** The heartbeat: keeps this run's claims from lapsing while it prints. */
    void renewClaims();
    /** Counts an order another station holds and goes on to the next. */
    void skipTakenElsewhere();
    bool askForPaper(const QString& paper);
    /** Lines the placement moves off the page still print; ERR.TXT says which. */
    void logBeyondPage(const Order& order, const QList<PageModel>& pages) const;
    bool guidanceDue();
    /** The order at the run position, or why there is none. */
    std::variant<Order, Notice> orderAt(int position) const;

    MainState& m_state;
    Spooler& m_spooler;
    PrintDocuments m_documents;
    QList<qint64> m_ids;
    std::optional<PrintFile> m_file;
    /** The job on the printer whose end the run waits for. */
    struct SentJob {
        PrintJournal::Entry entry;
        int id = 0;
        Order order;
    };
    std::optional<SentJob> m_sent;
    QString m_chosenPrinter;
    std::optional<QSizeF> m_chosenPaper;
    QString m_fileFolder;
    bool m_guidance = false;
    CheckedPrinter m_printer;
    int m_dotsPerInch = kDefaultDotsPerInch; // the printer's, asked once per run
    LabelSettings m_label;                   // the printer's language and paper, read once per run
    QTimer m_timer;
    int m_polls = 0; // since the last job was handed over
    int m_position = 0;
    int m_handled = 0; // run positions done with, printed or not
    QString m_previousPaper;
    bool m_askFirstPaper = false; // several forms: the first is asked for too
    bool m_running = false;
    bool m_cancelPressed = false;
    PrintRunResult m_result;
    /** This run's hold on its orders, on a store that several stations share. */
    std::unique_ptr<OrderClaims> m_claims;
    QList<qint64> m_held;  // claimed and not yet printed
    int m_claimedUpTo = 0; // m_ids before this index were offered to the claims
    QTimer m_heartbeat;
};

} // namespace mldd
