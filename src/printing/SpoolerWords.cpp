#include "SpoolerWords.h"

#include <utility>

namespace mldd::SpoolerWords {

namespace {

// IPP states, as printer-state and job-state carry them.
constexpr int kPrinterProcessing = 4;
constexpr int kPrinterStopped = 5;
constexpr int kJobPending = SpoolerJob::kPending;
constexpr int kJobHeld = SpoolerJob::kHeld;
constexpr int kJobProcessing = SpoolerJob::kProcessing;
constexpr int kJobStopped = SpoolerJob::kStopped;
constexpr int kJobCanceled = SpoolerJob::kCancelled;
constexpr int kJobAborted = SpoolerJob::kAborted;
constexpr int kJobCompleted = SpoolerJob::kCompleted;

// A reason keyword without its severity: "media-empty-error" → "media-empty".
QString keyword(const QString& reason) {
    for (const char* suffix : {"-report", "-warning", "-error"}) {
        if (reason.endsWith(QLatin1String(suffix)))
            return reason.chopped(int(qstrlen(suffix)));
    }
    return reason;
}

bool hasAny(const QStringList& keywords, std::initializer_list<const char*> wanted) {
    for (const char* word : wanted) {
        if (keywords.contains(QLatin1String(word)))
            return true;
    }
    return false;
}

QStringList keywords(const QStringList& reasons) {
    QStringList result;
    for (const QString& reason : reasons)
        result.append(keyword(reason));
    return result;
}

} // namespace

QString printerStatus(int printerState, const QStringList& reasons) {
    const QStringList k = keywords(reasons);
    // In the order the seller has always read them: the left column of the
    // old status table first, then the right one.
    const std::pair<const char*, bool> words[] = {
        {"Busy", false},
        {"Printer Door Open", hasAny(k, {"door-open", "cover-open", "interlock-open"})},
        {"Printer Error", hasAny(k, {"other"})},
        {"Initializing", hasAny(k, {"connecting-to-device"})},
        {"I/O Active", false},
        {"Manual Feed", false},
        {"No Toner", hasAny(k, {"toner-empty", "marker-supply-empty"})},
        {"Not Available", hasAny(k, {"shutdown", "timed-out"})},
        {"Off Line", hasAny(k, {"offline"})},
        {"Out of Memory", hasAny(k, {"spool-area-full"})},
        {"Output Bin Full", hasAny(k, {"output-area-full"})},
        {"Page Punt", false},
        {"Paper Jam", hasAny(k, {"media-jam"})},
        {"Paper Out", hasAny(k, {"media-empty", "media-needed"})},
        {"Page Problem", false},
        {"Paused", printerState == kPrinterStopped || hasAny(k, {"paused"})},
        {"Pending Deletion", hasAny(k, {"deleting"})},
        {"Printing", printerState == kPrinterProcessing},
        {"Processing", false},
        {"Toner Low", hasAny(k, {"toner-low", "marker-supply-low"})},
        {"User Intervention", hasAny(k, {"input-tray-missing", "output-tray-missing"})},
        {"Waiting", hasAny(k, {"cups-waiting-for-job-completed"})},
        {"Warming Up", hasAny(k, {"warming-up"})},
    };
    QString text;
    for (const auto& [word, set] : words) {
        if (set)
            text += QLatin1String(word) + QStringLiteral("  ");
    }
    const bool quiet = k.isEmpty() || k == QStringList{QStringLiteral("none")};
    if (text.isEmpty() && printerState != kPrinterStopped && printerState != kPrinterProcessing &&
        quiet)
        return QStringLiteral("Printer Status = Ready");
    if (text.isEmpty())
        text = QString::number(printerState) + QStringLiteral("Unknown Status of ");
    return QStringLiteral("Printer Status = ") + text;
}

bool hasFault(const QStringList& reasons) {
    for (const QString& reason : reasons) {
        if (reason.endsWith(QLatin1String("-error")) || keyword(reason) == u"offline" ||
            reason == u"paused")
            return true;
    }
    return false;
}

QString jobLine(const SpoolerJob& job) {
    const QStringList k = keywords(job.reasons);
    const bool known = job.state >= kJobPending && job.state <= kJobCompleted;
    const std::pair<const char*, bool> words[] = {
        {"后台打印", hasAny(k, {"job-incoming", "job-spooling"})},
        {"离线", hasAny(k, {"offline"})},
        {"已暂停", job.state == kJobHeld || hasAny(k, {"job-hold-until-specified"})},
        {"错误", job.state == kJobStopped || job.state == kJobCanceled || job.state == kJobAborted},
        {"缺纸", hasAny(k, {"media-empty", "media-needed"})},
        {"正在打印", job.state == kJobProcessing},
        {"需要用户干预", hasAny(k, {"media-jam", "door-open", "cover-open", "job-held-for-review",
                                    "cups-held-for-authentication"})},
    };
    QString text = QStringLiteral("任务:") + job.title;
    bool any = false;
    for (const auto& [word, set] : words) {
        if (set) {
            text += QString::fromUtf8(word) + QStringLiteral("  ");
            any = true;
        }
    }
    if (!any && job.state == kJobPending)
        text += QStringLiteral("待打印!");
    else if (!any && !known)
        text += QString::number(job.state) + QStringLiteral("不可识别的状态之 ");
    return text + u'\n';
}

QString jobFailure(const SpoolerJob& job) {
    const QStringList k = keywords(job.reasons);
    const std::pair<const char*, bool> causes[] = {
        {"任务在打印机上被取消", hasAny(k, {"job-canceled-at-device"})},
        {"任务被管理员取消", hasAny(k, {"job-canceled-by-operator"})},
        {"任务被取消", hasAny(k, {"job-canceled-by-user"})},
        {"打印机无法处理这份文件", hasAny(k, {"document-format", "document-unprintable",
                                              "document-access", "job-data-insufficient"})},
        {"打印机出错，任务被中止", hasAny(k, {"aborted-by-system"})},
        {"卡纸", hasAny(k, {"media-jam"})},
        {"缺纸", hasAny(k, {"media-empty", "media-needed"})},
    };
    for (const auto& [words, found] : causes) {
        if (found)
            return QString::fromUtf8(words);
    }
    return job.state == kJobAborted ? QStringLiteral("打印机出错，任务被中止")
                                    : QStringLiteral("任务被取消");
}

QString jobText(const QList<SpoolerJob>& jobs) {
    if (jobs.isEmpty())
        return PrinterQuery::kNoJobs;
    QString text;
    for (const SpoolerJob& job : jobs)
        text += jobLine(job);
    return text;
}

} // namespace mldd::SpoolerWords
