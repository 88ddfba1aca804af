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

} // namespace

QString newJobUuid() {
    return QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

std::variant<int, QString> sendJob(Spooler& spooler, const JobTarget& target,
                                   const QList<PageModel>& pages, const QString& title,
                                   qint64 orderId, const QString& uuid) {
    QString error;
    if (target.printer.toFile) {
        QDir().mkpath(target.fileFolder);
        const QString path = freshPath(target.fileFolder, title, orderId);
        if (!writePdf(path, pages, &error, target.printer.placement, target.dotsPerInch))
            return error;
        return 0;
    }
    std::optional<int> job;
    if (target.label.commands()) {
        const std::variant<QByteArray, QString> bytes =
            labelJobBytes(target.label, target.dotsPerInch, target.printer.placement, pages);
        if (const QString* why = std::get_if<QString>(&bytes))
            return *why;
        job = spooler.submitRaw(target.printer.name, title, std::get<QByteArray>(bytes), uuid,
                                &error);
    } else {
        QTemporaryFile file(QDir::tempPath() + QStringLiteral("/mldd-job-XXXXXX.pdf"));
        if (!file.open())
            return QStringLiteral("无法建立临时打印文件：%1").arg(file.errorString());
        file.close();
        if (!writePdf(file.fileName(), pages, &error, target.printer.placement, target.dotsPerInch))
            return error;
        job = spooler.submit(target.printer.name, title, file.fileName(), uuid, &error);
    }
    if (!job)
        return QStringLiteral("打印机没有接受任务（%1）").arg(error);
    return *job;
}

std::optional<Notice> printTestPage(Spooler& spooler, const PrinterSetup& setup,
                                    const CheckedPrinter& printer, const PageModel& page,
                                    const QString& title, const QString& fileFolder) {
    if (!printer.toFile)
        if (std::optional<Notice> busy = PrintChecks::spoolerCheck(spooler, printer.name))
            return busy;
    const JobTarget target{printer, fileFolder,
                           PrintChecks::dotsPerInch(setup, spooler, printer.name),
                           LabelSetup(setup).load(printer.name).settings};
    const std::variant<int, QString> sent =
        sendJob(spooler, target, {page}, title, 0, newJobUuid());
    if (const QString* why = std::get_if<QString>(&sent))
        return Notice{QStringLiteral("测试页没有打印：") + *why, QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation};
    return std::nullopt;
}

} // namespace mldd
