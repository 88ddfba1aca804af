#include "PrintChecks.h"

#include "LabelSettings.h"
#include "PaperRecords.h"

namespace mldd::PrintChecks {

namespace {

Notice refusal(const QString& text, const QString& title = QStringLiteral("墨岚打单")) {
    return Notice{text, title, Notice::Icon::Exclamation};
}

} // namespace

std::variant<CheckedPrinter, Notice> waybillPrinter(const PrinterSetup& setup, Spooler& spooler,
                                                    const QString& chosen) {
    QString name = chosen.isEmpty() ? setup.load().waybillPrinter : chosen;
    if (name.isEmpty())
        name = spooler.defaultDestination();
    if (name.isEmpty())
        return refusal(QStringLiteral("您的打印机未能正常联机！\n"
                                      "请检查打印机或更改默认打印机后再打单！"));
    if (name == PrinterSetup::kPrintToFile)
        return CheckedPrinter{name, true, setup.placement(name)};
    if (!spooler.destinations().contains(name))
        return refusal(QStringLiteral("您设置的快递单打印机未能正常联机！\n"
                                      "请检查打印机后或更改默认打印机后再打单！"));
    if (!setup.offsets(name))
        return refusal(QStringLiteral("您还没进行快递单默认打印机的调整！\n请设置后再打单！"));
    return CheckedPrinter{name, false, setup.placement(name)};
}

std::variant<CheckedPrinter, Notice> listPrinter(const PrinterSetup& setup, const QString& chosen,
                                                 bool paperGiven) {
    const PrintDefaults defaults = setup.load();
    const QString name = chosen.isEmpty() ? defaults.listPrinter : chosen;
    if (name.isEmpty())
        return refusal(QStringLiteral("您还没设置默认的发货单打印机！\n请设置后再打单！"));
    if (!defaults.paperChosen && !paperGiven &&
        !LabelSetup(setup).load(name).settings.loadedPaper())
        return refusal(QStringLiteral("您还没选择发货单的默认纸张！\n请设置后再打单！"));
    // Shipping lists are not moved by a waybill printer's offsets.
    return CheckedPrinter{name, false, {}, PaperRecords::copiesOf(defaults.paperRecord)};
}

int toldResolution(Spooler& spooler, const QString& printer) {
    return printer == PrinterSetup::kPrintToFile ? 0 : spooler.resolution(printer);
}

int dotsPerInch(const PrinterSetup& setup, Spooler& spooler, const QString& printer) {
    if (const int told = toldResolution(spooler, printer); told > 0)
        return told;
    return setup.resolution(printer).value_or(kDefaultDotsPerInch);
}

Notice unanswered() {
    return refusal(QStringLiteral("请检查您的打印机!\n请检查您的打印机后再打单！"),
                   QStringLiteral("提示"));
}

std::optional<Notice> spoolerCheck(Spooler& spooler, const QString& printer) {
    const PrinterQuery query = spooler.query(printer);
    if (!query.retrieved() || !query.printerReady)
        return unanswered();
    if (query.jobs != PrinterQuery::kNoJobs)
        return refusal(QStringLiteral("打印机中有未完成的打印任务：\n\n") + query.jobs +
                       QStringLiteral("请您先将上述任务完成！"));
    return std::nullopt;
}

} // namespace mldd::PrintChecks
