#include "Commands.h"
#include "ProgramStart.h"

#include "browser/TemplateDownload.h"
#include "core/MainState.h"
#include "core/OrderStore.h"
#include "waybill/PagedOutput.h"

#include "printing/CupsSpooler.h"
#include "printing/FollowingLists.h"
#include "printing/LabelSettings.h"
#include "printing/PrintJob.h"
#include "printing/PrintRun.h"
#include "shiplist/PickingListPages.h"

#include <QEventLoop>

namespace mldd::cli {

namespace {

const QString kPrintUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] print waybill|shiplist --ids 1,2,… (--pdf OUT [--dpi N] | "
    "--printer NAME) [--paper 宽x高]\n"
    "      mldd-cli [--data DIR] print picking --ids 1,2,… [--by-courier] (--pdf OUT | --printer "
    "NAME) [--paper 宽x高]\n"
    "  --dpi N  条码按N点每英寸的打印机排版（默认203）\n"
    "  --paper 宽x高  用这个尺寸的纸（毫米，如 100x150 热敏纸），不用打印机设置里的纸张");

// Resolutions a printer may have; outside them a number is a typing slip.
constexpr int kLowestDpi = 72;
constexpr int kHighestDpi = 2400;

// Runs to its end on the event loop and reports as the window does.
int runToEnd(PrintRun& run, PrintDocuments::Kind kind) {
    // Nobody can change the paper for a script: the seller sorts such runs by form.
    run.askPaperChange = [](const Notice&) { return true; };
    if (const std::optional<Notice> refused = run.start())
        return fail(Failed, refused->text);
    QEventLoop loop;
    QObject::connect(&run, &PrintRun::finished, &loop, &QEventLoop::quit);
    if (run.isRunning())
        loop.exec();
    const PrintRunResult& result = run.result();
    writeOut(result.summary(kind).text + u'\n');
    if (result.stopped)
        return fail(Failed, result.stopped->text);
    return result.problems.isEmpty() ? Success : Failed;
}

// A run to a printer, as the window starts it: checks, pacing, marks after each job; with
// 打印发货单 on, the printed waybills' shipping lists follow on the shipping-list printer.
int runOnPrinter(MainState& state, PrintDocuments::Kind kind, const QList<qint64>& ids,
                 const QString& printer, std::optional<QSizeF> paperMm) {
    CupsSpooler spooler;
    PrintRun run(state, spooler, kind, ids);
    run.setPrinter(printer);
    if (paperMm)
        run.setPaper(*paperMm);
    const int status = runToEnd(run, kind);
    const QList<qint64> lists = kind == PrintDocuments::Kind::Waybills
                                    ? FollowingLists::of(state, run.result().printedIds)
                                    : QList<qint64>();
    if (lists.isEmpty())
        return status;
    PrintRun listRun(state, spooler, PrintDocuments::Kind::ShippingLists, lists);
    return std::max(status, runToEnd(listRun, PrintDocuments::Kind::ShippingLists));
}

// Each order's pages of one kind, appended to `pages`; the orders drawn, in order.
QList<Order> collect(const OrderStore& store, PrintDocuments& documents, const QList<qint64>& ids,
                     QList<PageModel>& pages, QStringList& problems) {
    QList<Order> drawn;
    for (qint64 id : ids) {
        const std::optional<Order> order = store.byId(id);
        if (!order) {
            problems.append(QStringLiteral("没有这个订单：%1").arg(id));
            continue;
        }
        auto document = documents.of(*order);
        if (const Notice* notice = std::get_if<Notice>(&document)) {
            problems.append(notice->text);
            continue;
        }
        pages += std::get<PrintDocuments::Document>(std::move(document)).pages;
        drawn.append(*order);
    }
    return drawn;
}

QList<qint64> idsOf(const QList<Order>& orders) {
    QList<qint64> ids;
    for (const Order& order : orders)
        ids.append(order.id);
    return ids;
}

// Marks the orders printed; false, after saying so, when a mark could not be saved.
bool markAll(PrintDocuments& documents, PrintDocuments::Kind kind, const QList<Order>& orders) {
    QString error;
    for (const Order& order : orders)
        if (!documents.mark(order, &error)) {
            fail(Failed, (kind == PrintDocuments::Kind::Waybills
                              ? QStringLiteral("快递单已打印，但打印标记未能保存：%1")
                              : QStringLiteral("发货单已打印，但打印标记未能保存：%1"))
                             .arg(error));
            return false;
        }
    return true;
}

// Every order's pages (a waybill, or all pages of its shipping list) into one PDF, with 打印发货单
// on the printed waybills' shipping lists after them, on `paperMm` when given; the orders are
// marked once the file is complete.
int printToPdf(MainState& state, PrintDocuments::Kind kind, const QList<qint64>& ids,
               const QString& pdf, int dotsPerInch, std::optional<QSizeF> paperMm) {
    const bool waybills = kind == PrintDocuments::Kind::Waybills;
    OrderStore store(*state.database);
    PrintDocuments documents(state, kind);
    PrintDocuments listDocuments(state, PrintDocuments::Kind::ShippingLists);
    if (paperMm) {
        documents.layListsOn(*paperMm);
        listDocuments.layListsOn(*paperMm);
    }
    QList<PageModel> pages;
    QStringList problems;
    const QList<Order> printed = collect(store, documents, ids, pages, problems);
    const QList<Order> lists =
        waybills ? collect(store, listDocuments, FollowingLists::of(state, idsOf(printed)), pages,
                           problems)
                 : QList<Order>();
    for (const QString& problem : problems)
        writeError(problem + u'\n');
    if (pages.isEmpty())
        return fail(Failed, waybills ? QStringLiteral("没有可打印的快递单。")
                                     : QStringLiteral("没有可打印的发货单。"));

    QString error;
    if (!writePdf(pdf, paperMm ? onPaper(pages, *paperMm) : pages, &error, {}, dotsPerInch))
        return fail(Failed, error);
    if (!markAll(documents, kind, printed) ||
        !markAll(listDocuments, PrintDocuments::Kind::ShippingLists, lists))
        return Failed;
    return problems.isEmpty() ? Success : Failed;
}

// The forms the orders name but the folder lacks come from the board first, once each;
// what could not come is said, and those orders are then told as unprintable.
void fetchMissingTemplates(MainState& state, const QList<qint64>& ids) {
    QStringList forms;
    for (const Order& order : OrderStore(*state.database).byIds(ids))
        forms.append(order.delivery);
    for (const Notice& notice :
         TemplateDownload::fetchMissing(state, forms, ServiceClient()).notices)
        writeError(notice.text + u'\n');
}

// 拣货单 of the orders, to a PDF or a printer, on the paper given, else the printer's own, else A4;
// it marks nothing.
int printPickingList(MainState& state, const QList<qint64>& ids, bool byCourier,
                     const std::optional<QString>& pdf, const std::optional<QString>& printer,
                     std::optional<QSizeF> paperMm) {
    const QList<Order> orders = OrderStore(*state.database).byIds(ids);
    if (orders.size() != ids.size())
        writeError(
            QStringLiteral("有%1个订单编号没有对应的订单。\n").arg(ids.size() - orders.size()));
    if (orders.isEmpty())
        return fail(Failed, QStringLiteral("没有可打印拣货单的订单。"));
    TextMetrics metrics;
    const PrinterSetup setup(state.folder, state.log);
    const QSizeF paper = paperMm   ? *paperMm * kTwipsPerMillimetre
                         : printer ? LabelSetup(setup).layoutPaper(*printer, kPickingListPaper)
                                   : kPickingListPaper;
    const QList<PageModel> pages =
        pickingListOf(orders, state.profiles, QDate::currentDate(), byCourier, metrics, paper);
    if (pdf) {
        QString error;
        if (!writePdf(*pdf, pages, &error))
            return fail(Failed, error);
    } else {
        CupsSpooler spooler;
        CheckedPrinter checked;
        checked.name = *printer;
        if (const std::optional<Notice> failed =
                printOutsideRun(spooler, setup, checked, pages,
                                QStringLiteral("拣货单-") +
                                    QDate::currentDate().toString(QStringLiteral("yyyyMMdd")),
                                QString(), QStringLiteral("拣货单")))
            return fail(Failed, failed->text);
    }
    writeOut(
        QStringLiteral("拣货单已打印：%1个订单，%2页。\n").arg(orders.size()).arg(pages.size()));
    return Success;
}

} // namespace

int runPrint(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const std::optional<QString> idsText = takeOption(args, QStringLiteral("ids"), &missingValue);
    const std::optional<QString> pdf = takeOption(args, QStringLiteral("pdf"), &missingValue);
    const std::optional<QString> printer =
        takeOption(args, QStringLiteral("printer"), &missingValue);
    const std::optional<QString> dpiText = takeOption(args, QStringLiteral("dpi"), &missingValue);
    const std::optional<QString> paperText =
        takeOption(args, QStringLiteral("paper"), &missingValue);
    const bool byCourier = args.removeAll(QStringLiteral("--by-courier")) > 0;
    const bool shippingLists = args.size() == 1 && args[0] == u"shiplist";
    const bool picking = args.size() == 1 && args[0] == u"picking";
    if (missingValue || args.size() != 1 || (args[0] != u"waybill" && !shippingLists && !picking) ||
        !idsText || pdf.has_value() == printer.has_value() || (dpiText && (printer || picking)) ||
        (byCourier && !picking))
        return fail(Usage, kPrintUsage);
    const std::optional<QSizeF> paper =
        paperText ? LabelLanguages::paperFromText(*paperText) : std::optional<QSizeF>();
    if (paperText && !paper)
        return fail(
            Usage,
            QStringLiteral("纸张尺寸要写成 宽x高，单位毫米，如 100x150：%1").arg(*paperText));
    bool dpiOk = true;
    const int dotsPerInch = dpiText ? dpiText->toInt(&dpiOk) : kDefaultDotsPerInch;
    if (!dpiOk || dotsPerInch < kLowestDpi || dotsPerInch > kHighestDpi)
        return fail(Usage, QStringLiteral("打印机分辨率必须是%1到%2之间的整数：%3")
                               .arg(kLowestDpi)
                               .arg(kHighestDpi)
                               .arg(*dpiText));
    const std::optional<QList<qint64>> ids = parseIds(*idsText);
    if (!ids)
        return fail(Usage, QStringLiteral("订单编号必须是逗号分隔的正整数：%1").arg(*idsText));

    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;
    if (picking)
        return printPickingList(state, *ids, byCourier, pdf, printer, paper);
    const PrintDocuments::Kind kind =
        shippingLists ? PrintDocuments::Kind::ShippingLists : PrintDocuments::Kind::Waybills;
    if (!shippingLists)
        fetchMissingTemplates(state, *ids);
    return printer ? runOnPrinter(state, kind, *ids, *printer, paper)
                   : printToPdf(state, kind, *ids, *pdf, dotsPerInch, paper);
}

} // namespace mldd::cli
