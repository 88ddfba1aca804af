#include "PrintJob.h"

#include "LabelJob.h"
#include "Spooler.h"

#include "core/DataFolder.h"
#include "waybill/PagedOutput.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUuid>

namespace mldd {

namespace {

// A name no file in `folder` has: the title; for an order without a number (its title ends in
// "-"), or one whose number another order's file took already, the title and the order's id;
// then a count, so that printing again never replaces a printed file.
QString freshPath(const QString& folder, const QString& title, qint64 orderId) {
    const QString id = QString::number(orderId);
    const QString named = DataFolder::safeFileName(title.endsWith(u'-') ? title + id : title);
    const auto taken = [](const QString& path) {
        const QFileInfo info(path);
        return info.exists() || info.isSymLink();
    };
    const QString first = folder + u'/' + named + QStringLiteral(".pdf");
    if (!taken(first))
        return first;
    const QString withId = folder + u'/' + named + u'-' + id;
    QString path = withId + QStringLiteral(".pdf");
    for (int count = 2; taken(path); ++count)
        path = withId + QStringLiteral("-%1.pdf").arg(count);
    return path;
}

// A driver printer with paper of its own is given pages of that size; a label printer's
// commands carry their label size themselves.
QList<PageModel> onPaper(const JobTarget& target, QList<PageModel> pages) {
    if (const std::optional<QSizeF> paper = target.label.paperMm; paper && !target.label.commands())
        return onPaper(std::move(pages), *paper);
    return pages;
}

} // namespace

QList<PageModel> onPaper(QList<PageModel> pages, QSizeF paperMm) {
    for (PageModel& page : pages)
        page.size = paperMm * kTwipsPerMillimetre;
    return pages;
}

QString newJobUuid() {
    return QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

std::variant<ReadyJob, QString> prepareJob(const JobTarget& target, const QList<PageModel>& pages) {
    ReadyJob ready;
    if (target.printer.toFile)
        return ready;
    if (target.label.commands()) {
        std::variant<QByteArray, QString> bytes =
            labelJobBytes(target.label, target.dotsPerInch, target.printer.placement, pages);
        if (const QString* why = std::get_if<QString>(&bytes))
            return *why;
        ready.raw = std::move(std::get<QByteArray>(bytes));
        return ready;
    }
    ready.pdf =
        std::make_shared<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/mldd-job-XXXXXX.pdf"));
    if (!ready.pdf->open())
        return QStringLiteral("无法建立临时打印文件：%1").arg(ready.pdf->errorString());
    ready.pdf->close();
    QString error;
    if (!writePdf(ready.pdf->fileName(), onPaper(target, pages), &error, target.printer.placement,
                  target.dotsPerInch))
        return error;
    return ready;
}

std::variant<int, QString> submitJob(Spooler& spooler, const JobTarget& target,
                                     const QList<PageModel>& pages, const ReadyJob& job,
                                     const QString& title, qint64 orderId, const QString& uuid) {
    QString error;
    if (target.printer.toFile) {
        QDir().mkpath(target.fileFolder);
        const QString path = freshPath(target.fileFolder, title, orderId);
        if (!writePdf(path, onPaper(target, pages), &error, target.printer.placement,
                      target.dotsPerInch))
            return error;
        return 0;
    }
    const std::optional<int> id =
        job.raw ? spooler.submitRaw(target.printer.name, title, *job.raw, uuid, &error)
                : spooler.submit(target.printer.name, title, job.pdf->fileName(), uuid,
                                 target.label.paperMm, &error);
    if (!id)
        return QStringLiteral("打印机没有接受任务（%1）").arg(error);
    return *id;
}

std::variant<int, QString> sendJob(Spooler& spooler, const JobTarget& target,
                                   const QList<PageModel>& pages, const QString& title,
                                   qint64 orderId, const QString& uuid) {
    const std::variant<ReadyJob, QString> ready = prepareJob(target, pages);
    if (const QString* why = std::get_if<QString>(&ready))
        return *why;
    return submitJob(spooler, target, pages, std::get<ReadyJob>(ready), title, orderId, uuid);
}

std::optional<Notice> printOutsideRun(Spooler& spooler, const PrinterSetup& setup,
                                      const CheckedPrinter& printer, const QList<PageModel>& pages,
                                      const QString& title, const QString& fileFolder,
                                      const QString& what) {
    if (!printer.toFile)
        if (std::optional<Notice> busy = PrintChecks::spoolerCheck(spooler, printer.name))
            return busy;
    const JobTarget target{printer, fileFolder,
                           PrintChecks::dotsPerInch(setup, spooler, printer.name),
                           LabelSetup(setup).load(printer.name).settings};
    const std::variant<int, QString> sent = sendJob(spooler, target, pages, title, 0, newJobUuid());
    if (const QString* why = std::get_if<QString>(&sent))
        return Notice{QStringLiteral("%1没有打印：%2").arg(what, *why), QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation};
    return std::nullopt;
}

} // namespace mldd
