#include "PrintJob.h"

#include "Spooler.h"

#include "core/DataFolder.h"
#include "waybill/PagedOutput.h"

#include <QDir>
#include <QTemporaryFile>
#include <QUuid>

namespace mldd {

QString newJobUuid() {
    return QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

std::variant<int, QString> sendJob(Spooler& spooler, const JobTarget& target,
                                   const QList<PageModel>& pages, const QString& title,
                                   const QString& uuid) {
    QString error;
    if (target.printer.toFile) {
        QDir().mkpath(target.fileFolder);
        const QString path =
            target.fileFolder + u'/' + DataFolder::safeFileName(title) + QStringLiteral(".pdf");
        if (!writePdf(path, pages, &error, target.printer.placement))
            return error;
        return 0;
    }
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/mldd-job-XXXXXX.pdf"));
    if (!file.open())
        return QStringLiteral("无法建立临时打印文件：%1").arg(file.errorString());
    file.close();
    if (!writePdf(file.fileName(), pages, &error, target.printer.placement, target.dotsPerInch))
        return error;
    const std::optional<int> job =
        spooler.submit(target.printer.name, title, file.fileName(), uuid, &error);
    if (!job)
        return QStringLiteral("打印机没有接受任务（%1）").arg(error);
    return *job;
}

std::optional<Notice> printTestPage(Spooler& spooler, const CheckedPrinter& printer,
                                    const PageModel& page, const QString& title,
                                    const QString& fileFolder) {
    JobTarget target{printer, fileFolder};
    if (!printer.toFile) {
        if (std::optional<Notice> busy = PrintChecks::spoolerCheck(spooler, printer.name))
            return busy;
        if (const int resolution = spooler.resolution(printer.name); resolution > 0)
            target.dotsPerInch = resolution;
    }
    const std::variant<int, QString> sent = sendJob(spooler, target, {page}, title, newJobUuid());
    if (const QString* why = std::get_if<QString>(&sent))
        return Notice{QStringLiteral("测试页没有打印：") + *why, QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation};
    return std::nullopt;
}

} // namespace mldd
