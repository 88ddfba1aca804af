#include "CupsSpooler.h"

#include "SpoolerWords.h"

#include <cups/cups.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace mldd {

namespace {

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

QByteArray printerUri(const QString& printer) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", printer.toUtf8().constData());
    return uri;
}

Ipp request(ipp_op_t operation, const QString& printer,
            std::initializer_list<const char*> attributes) {
    ipp_t* ipp = ippNewRequest(operation);
    ippAddString(ipp, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printerUri(printer).constData());
    // Job names come back only to the user who asks by name.
    ippAddString(ipp, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    const std::vector<const char*> names(attributes);
    ippAddStrings(ipp, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(names.size()), nullptr, names.data());
    return Ipp(ipp);
}

bool failed(const Ipp& response) {
    return !response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING;
}

QStringList strings(ipp_attribute_t* attribute) {
    QStringList values;
    for (int i = 0; attribute && i < ippGetCount(attribute); ++i)
        values.append(QString::fromUtf8(ippGetString(attribute, i, nullptr)));
    return values;
}

QString text(ipp_t* ipp, const char* name, ipp_tag_t tag) {
    return strings(ippFindAttribute(ipp, name, tag)).value(0);
}

constexpr std::initializer_list<const char*> kJobAttributes = {"job-id", "job-name", "job-state",
                                                               "job-state-reasons", "job-uuid"};

// The jobs of an answer, in the order given; each job's attributes follow a group separator.
QList<SpoolerJob> jobsIn(const Ipp& response) {
    QList<SpoolerJob> found;
    SpoolerJob job;
    for (ipp_attribute_t* a = ippFirstAttribute(response.get());;
         a = ippNextAttribute(response.get())) {
        if (!a || !ippGetName(a)) {
            if (job.id > 0)
                found.append(job);
            job = SpoolerJob{};
            if (!a)
                break;
            continue;
        }
        const QByteArray name = ippGetName(a);
        if (name == "job-id")
            job.id = ippGetInteger(a, 0);
        else if (name == "job-name")
            job.title = QString::fromUtf8(ippGetString(a, 0, nullptr));
        else if (name == "job-state")
            job.state = ippGetInteger(a, 0);
        else if (name == "job-state-reasons")
            job.reasons = strings(a);
        else if (name == "job-uuid")
            job.uuid = QString::fromUtf8(ippGetString(a, 0, nullptr));
    }
    return found;
}

// Jobs of one printer, oldest first; none when the spooler did not answer. CUPS answers at
// most 500 jobs of its history at a time, the oldest, and says so in "limit": the newest jobs,
// those a killed run left, come only on the pages after.
std::optional<QList<SpoolerJob>> jobs(const QString& printer, const char* which) {
    const auto byId = [](const SpoolerJob& a, const SpoolerJob& b) { return a.id < b.id; };
    QList<SpoolerJob> found;
    for (int first = 0;;) {
        Ipp ask = request(IPP_OP_GET_JOBS, printer, kJobAttributes);
        ippAddString(ask.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, which);
        if (first > 0)
            ippAddInteger(ask.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "first-job-id", first);
        const Ipp response(cupsDoRequest(CUPS_HTTP_DEFAULT, ask.release(), "/"));
        if (failed(response))
            return std::nullopt;
        const QList<SpoolerJob> page = jobsIn(response);
        found += page;
        ipp_attribute_t* limit = ippFindAttribute(response.get(), "limit", IPP_TAG_INTEGER);
        if (page.isEmpty() || !limit || page.size() < ippGetInteger(limit, 0))
            break;
        first = std::max_element(page.begin(), page.end(), byId)->id + 1;
    }
    std::sort(found.begin(), found.end(), byId);
    return found;
}

} // namespace

QStringList CupsSpooler::destinations() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        if (!dests[i].instance)
            names.append(QString::fromUtf8(dests[i].name));
    }
    cupsFreeDests(count, dests);
    return names;
}

QString CupsSpooler::defaultDestination() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const cups_dest_t* found = cupsGetDest(nullptr, nullptr, count, dests);
    const QString name = found ? QString::fromUtf8(found->name) : QString();
    cupsFreeDests(count, dests);
    return name;
}

PrinterQuery CupsSpooler::query(const QString& printer) {
    PrinterQuery answer;
    answer.printer = printer;
    const Ipp response(
        cupsDoRequest(CUPS_HTTP_DEFAULT,
                      request(IPP_OP_GET_PRINTER_ATTRIBUTES, printer,
                              {"printer-state", "printer-state-reasons",
                               "printer-is-accepting-jobs", "printer-make-and-model", "device-uri"})
                          .release(),
                      "/"));
    const int code = int(cupsLastError());
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
        answer.status = QStringLiteral("Cannot open printer %1, Error: %2").arg(printer).arg(code);
        return answer;
    }
    if (failed(response)) {
        answer.status = QStringLiteral(" > GetPrinter Failed on initial call! <");
        return answer;
    }
    ipp_attribute_t* state = ippFindAttribute(response.get(), "printer-state", IPP_TAG_ENUM);
    if (!state) {
        answer.status = QStringLiteral("Couldn't get Printer Status!  Error = %1").arg(code);
        return answer;
    }
    const QStringList printerReasons =
        strings(ippFindAttribute(response.get(), "printer-state-reasons", IPP_TAG_KEYWORD));
    answer.printerState = SpoolerWords::printerStatus(ippGetInteger(state, 0), printerReasons);
    ipp_attribute_t* accepting =
        ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    answer.printerReady = ippGetInteger(state, 0) != IPP_PSTATE_STOPPED &&
                          (!accepting || ippGetBoolean(accepting, 0)) &&
                          !SpoolerWords::hasFault(printerReasons);
    answer.driver = text(response.get(), "printer-make-and-model", IPP_TAG_TEXT);
    answer.port = text(response.get(), "device-uri", IPP_TAG_URI);

    std::optional<QList<SpoolerJob>> active = jobs(printer, "not-completed");
    if (!active) {
        const int jobsCode = int(cupsLastError());
        answer.status =
            QStringLiteral("%1 > EnumJobs Failed on second call! <  Error = %1").arg(jobsCode);
        return answer;
    }
    // What stops the printer stops the job it is printing: a paper-out printer's job lacks paper.
    for (SpoolerJob& job : *active) {
        if (job.state == IPP_JSTATE_PROCESSING)
            job.reasons += printerReasons;
    }
    answer.status = PrinterQuery::kRetrieved;
    answer.jobs = SpoolerWords::jobText(*active);
    return answer;
}

QString CupsSpooler::mediaFor(const QString& printer, QSizeF paperMm) {
    const QString key =
        QStringLiteral("%1|%2x%3").arg(printer).arg(paperMm.width()).arg(paperMm.height());
    if (const auto known = m_media.constFind(key); known != m_media.cend())
        return *known;
    QString media = QStringLiteral("Custom.%1x%2mm")
                        .arg(QString::number(paperMm.width(), 'g', 6),
                             QString::number(paperMm.height(), 'g', 6));
    if (cups_dest_t* dest =
            cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), nullptr)) {
        if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
            cups_size_t size{};
            // Hundredths of a millimetre; CUPS takes sizes within its own tolerance as the same.
            if (cupsGetDestMediaBySize(
                    CUPS_HTTP_DEFAULT, dest, info, int(std::lround(paperMm.width() * 100)),
                    int(std::lround(paperMm.height() * 100)), CUPS_MEDIA_FLAGS_DEFAULT, &size))
                media = QString::fromUtf8(size.media);
            cupsFreeDestInfo(info);
        }
        cupsFreeDests(1, dest);
    }
    m_media.insert(key, media);
    return media;
}

std::optional<int> CupsSpooler::submit(const QString& printer, const QString& title,
                                       const QString& pdfPath, const QString& uuid,
                                       std::optional<QSizeF> paperMm, QString* error) {
    cups_option_t* options = nullptr;
    int count = cupsAddOption("job-uuid", uuid.toUtf8().constData(), 0, &options);
    if (paperMm)
        count = cupsAddOption("media", mediaFor(printer, *paperMm).toUtf8().constData(), count,
                              &options);
    const int id =
        cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(),
                       pdfPath.toUtf8().constData(), title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (id > 0)
        return id;
    if (error)
        *error = QString::fromUtf8(cupsLastErrorString());
    return std::nullopt;
}

std::optional<int> CupsSpooler::submitRaw(const QString& printer, const QString& title,
                                          const QByteArray& bytes, const QString& uuid,
                                          QString* error) {
    const QByteArray name = printer.toUtf8();
    const QByteArray titleText = title.toUtf8();
    cups_option_t* options = nullptr;
    const int count = cupsAddOption("job-uuid", uuid.toUtf8().constData(), 0, &options);
    const int id =
        cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), titleText.constData(), count, options);
    cupsFreeOptions(count, options);
    const auto refused = [&] {
        // CUPS's own words: a queue that takes no raw jobs says so itself.
        if (error)
            *error = QString::fromUtf8(cupsLastErrorString());
        return std::nullopt;
    };
    if (id <= 0)
        return refused();
    const bool sent =
        cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), id, titleText.constData(),
                          CUPS_FORMAT_RAW, 1) == HTTP_STATUS_CONTINUE &&
        cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.constData(), size_t(bytes.size())) ==
            HTTP_STATUS_CONTINUE;
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData()) == IPP_STATUS_OK && sent)
        return id;
    const std::optional<int> failed = refused();
    // A job without its document would wait, held, in front of every later one.
    cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), id, 0);
    return failed;
}

std::optional<QList<SpoolerJob>> CupsSpooler::keptJobs(const QString& printer) {
    std::optional<QList<SpoolerJob>> kept = jobs(printer, "all");
    // A queue that was deleted took its jobs with it: none of them can still come out.
    if (!kept && cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return QList<SpoolerJob>{};
    return kept;
}

std::optional<SpoolerJob> CupsSpooler::job(const QString& printer, int id) {
    Ipp ask = request(IPP_OP_GET_JOB_ATTRIBUTES, printer, kJobAttributes);
    ippAddInteger(ask.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", id);
    const Ipp response(cupsDoRequest(CUPS_HTTP_DEFAULT, ask.release(), "/"));
    if (failed(response))
        return std::nullopt;
    const QList<SpoolerJob> found = jobsIn(response);
    return found.isEmpty() ? std::nullopt : std::optional<SpoolerJob>(found.first());
}

bool CupsSpooler::cancel(const QString& printer, int id) {
    return cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), id, 0) == IPP_STATUS_OK;
}

int CupsSpooler::resolution(const QString& printer) {
    const Ipp response(cupsDoRequest(
        CUPS_HTTP_DEFAULT,
        request(IPP_OP_GET_PRINTER_ATTRIBUTES, printer, {"printer-resolution-default"}).release(),
        "/"));
    if (failed(response))
        return 0;
    ipp_attribute_t* found =
        ippFindAttribute(response.get(), "printer-resolution-default", IPP_TAG_RESOLUTION);
    if (!found)
        return 0;
    int vertical = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    const int horizontal = ippGetResolution(found, 0, &vertical, &units);
    return units == IPP_RES_PER_INCH ? horizontal : int(horizontal * 2.54);
}

} // namespace mldd
