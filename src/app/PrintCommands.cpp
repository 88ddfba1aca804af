#include "PrintCommands.h"

#include "NoticeBox.h"
#include "OffsetAdjustDialog.h"
#include "OrderListPanel.h"
#include "PickingListDialog.h"
#include "PrintPreviewDialog.h"
#include "PrintProgressLine.h"
#include "PrintSettingsDialog.h"
#include "PrinterSetupDialog.h"
#include "SpreadsheetCommands.h"
#include "TemplateDesigner.h"

#include "browser/TemplateDownload.h"
#include "core/MainState.h"
#include "printing/CupsSpooler.h"
#include "printing/FollowingLists.h"
#include "printing/OffsetAdjustment.h"
#include "printing/PrintFile.h"
#include "printing/PrintQuestion.h"
#include "printing/PrintRun.h"
#include "printing/PrinterSetup.h"
#include "waybill/TemplateFiles.h"

#include <QTimer>

#include <utility>

namespace mldd {

namespace {

QStringList formsOf(const QList<Order>& orders) {
    QStringList forms;
    for (const Order& order : orders)
        forms.append(order.delivery);
    return forms;
}

} // namespace

PrintCommands::PrintCommands(const CommandContext& context, SpreadsheetCommands& spreadsheets,
                             QObject* parent)
    : QObject(parent), m_context(context), m_spreadsheets(spreadsheets),
      m_spooler(std::make_unique<CupsSpooler>()) {
    // Queued: the page is drawn before a missing template's notice and fetch.
    connect(m_context.list, &OrderListPanel::formsShown, this,
            &PrintCommands::downloadMissingTemplates, Qt::QueuedConnection);
}

PrintCommands::~PrintCommands() = default;

void PrintCommands::startPrint(PrintDocuments::Kind kind) {
    if (m_run && m_run->isRunning())
        return;
    MainState& state = m_context.state;
    QList<qint64> ids = chosenIds();
    // Asked once with the count, so that a changed filter never prints orders twice unasked.
    const PrintQuestion question = PrintQuestion::about(OrderStore(*state.database), kind, ids);
    if (!question.all.isEmpty()) {
        ids = question.chosen(askNotice(m_context.window, question.question));
        if (ids.isEmpty())
            return;
    }
    // Forms the run would miss are fetched first, as a card's missing form is.
    if (kind == PrintDocuments::Kind::Waybills)
        downloadMissingTemplates(formsOf(OrderStore(*state.database).byIds(ids)));
    follow(std::make_unique<PrintRun>(state, *m_spooler, kind, ids), kind);
}

QList<qint64> PrintCommands::chosenIds() const {
    const MainState& state = m_context.state;
    const QList<qint64> ticked = state.selection.ids();
    return ticked.isEmpty() ? QList<qint64>(state.cursor.ids().begin(), state.cursor.ids().end())
                            : ticked;
}

void PrintCommands::printPickingList() {
    const QList<Order> orders = OrderStore(*m_context.state.database).byIds(chosenIds());
    if (orders.isEmpty()) {
        showNotice(m_context.window, Notice{QStringLiteral("列表中没有订单，没有拣货单可打印。")});
        return;
    }
    PickingListDialog(m_context.state, *m_spooler, orders, m_context.window).exec();
}

void PrintCommands::printFile(const QString& path) {
    if (m_run && m_run->isRunning())
        return;
    std::variant<PrintFile, Notice> file = PrintFile::read(path);
    if (const Notice* notice = std::get_if<Notice>(&file)) {
        showNotice(m_context.window, *notice);
        return;
    }
    const PrintDocuments::Kind kind = std::get<PrintFile>(file).kind;
    // The list shows the file's records, ten to a page, while they print.
    m_context.list->showPrintFile(std::get<PrintFile>(file));
    // Before the run, not behind the page while it prints.
    if (kind == PrintDocuments::Kind::Waybills)
        downloadMissingTemplates(formsOf(std::get<PrintFile>(file).records));
    follow(std::make_unique<PrintRun>(m_context.state, *m_spooler,
                                      std::get<PrintFile>(std::move(file))),
           kind);
}

void PrintCommands::follow(std::unique_ptr<PrintRun> run, PrintDocuments::Kind kind) {
    m_run = std::move(run);
    m_run->setGuidance(true);
    m_run->askPaperChange = [this](const Notice& question) {
        return showNotice(m_context.window, question);
    };
    connect(m_run.get(), &PrintRun::listPageTurned, this, [this] {
        // A long list is counted only past the page shown: asking for the next one counts on.
        MainState& state = m_context.state;
        if (m_context.list->showsPrintFile() ||
            state.cursor.clampPage(state.currentPage + 1) > state.currentPage)
            m_context.list->nextPage();
    });
    connect(m_run.get(), &PrintRun::finished, this, [this, kind] { printFinished(kind); });
    if (const std::optional<Notice> refused = m_run->start()) {
        showNotice(m_context.window, *refused);
        return;
    }
    m_context.list->printProgressLine()->follow(*m_run);
}

void PrintCommands::printFinished(PrintDocuments::Kind kind) {
    MainState& state = m_context.state;
    const PrintRunResult result = m_run->result();
    state.requery();
    m_context.list->showPage();
    if (result.stopped)
        showNotice(m_context.window, *result.stopped);
    m_printedInChain += result.printedIds;
    if (!result.remaining.isEmpty()) {
        // A question or the guidance stopped the run: the orders it did not come to are offered.
        Notice goOn = result.summary(kind);
        goOn.text += QStringLiteral("\n现在继续打印这%1个订单吗？").arg(result.remaining.size());
        goOn.buttons = Notice::Buttons::YesNo;
        if (askNotice(m_context.window, goOn) == Notice::Answer::Yes) {
            QTimer::singleShot(0, this, [this, kind, remaining = result.remaining] {
                follow(std::make_unique<PrintRun>(m_context.state, *m_spooler, kind, remaining),
                       kind);
            });
            return;
        }
    } else {
        showNotice(m_context.window, result.summary(kind));
    }
    const QList<qint64> printed = std::exchange(m_printedInChain, {});
    if (kind != PrintDocuments::Kind::Waybills || printed.isEmpty())
        return;
    m_spreadsheets.offerWriteBack(printed);
    // 打印发货单: each printed waybill's shipping list follows on the shipping-list printer,
    // once; a list printed before is not printed again.
    if (result.cancelled)
        return;
    const QList<qint64> lists = FollowingLists::of(state, printed);
    if (!lists.isEmpty())
        QTimer::singleShot(0, this, [this, lists] {
            follow(std::make_unique<PrintRun>(m_context.state, *m_spooler,
                                              PrintDocuments::Kind::ShippingLists, lists),
                   PrintDocuments::Kind::ShippingLists);
        });
}

void PrintCommands::previewLarger(qint64 id) {
    const std::optional<Order> order = OrderStore(*m_context.state.database).byId(id);
    if (!order)
        return;
    const bool lists = m_context.state.displayMode == MainState::DisplayMode::ShippingList;
    if (!lists && !TemplateFiles(m_context.state.folder, order->delivery).exists()) {
        // The seller asks for this form: asked again, though the cards' try failed before.
        m_context.state.templatesAsked.remove(order->delivery);
        downloadMissingTemplates({order->delivery});
        return;
    }
    auto [pages, why] = m_context.list->drawer().pagesOf(*order);
    if (pages.isEmpty()) {
        if (why)
            showNotice(m_context.window, *why);
        return;
    }
    // Waybills print with the waybill printer's offsets and factor; shipping lists without.
    const PrinterSetup setup(m_context.state.folder, m_context.state.log);
    const PrintPlacement placement =
        lists ? PrintPlacement{} : setup.placement(setup.load().waybillPrinter);
    PrintPreviewDialog dialog(order->orderSign, std::move(pages), placement, m_context.window);
    dialog.exec();
}

void PrintCommands::adjustOffsets(qint64 id) {
    OrderStore store(*m_context.state.database);
    const std::optional<Order> order = store.byId(id);
    if (!order)
        return;
    QStringList couriers;
    for (const Order& selected : store.byIds(m_context.state.selection.ids()))
        couriers.append(selected.delivery);
    const PrinterSetup setup(m_context.state.folder, m_context.state.log);
    const QString printer = setup.load().waybillPrinter;
    if (const auto refused = OffsetAdjustment::refusal(*order, couriers, printer)) {
        showNotice(m_context.window, *refused);
        return;
    }
    std::variant<PageModel, Notice> waybill = m_context.list->drawer().waybill(*order);
    if (auto* missing = std::get_if<Notice>(&waybill)) {
        showNotice(m_context.window, *missing);
        return;
    }
    OffsetAdjustDialog dialog(setup, printer, std::get<PageModel>(waybill), m_context.window);
    dialog.exec();
}

void PrintCommands::editPrinters() {
    PrinterSetupDialog printers(m_context.state, *m_spooler, m_context.window);
    // A new paper changes the shipping lists' pages.
    connect(&printers, &PrinterSetupDialog::saved, m_context.list, &OrderListPanel::redrawPages);
    printers.exec();
}

void PrintCommands::editPrintSettings() {
    PrintSettingsDialog settings(m_context.state, m_context.window);
    connect(&settings, &PrintSettingsDialog::saved, m_context.list, &OrderListPanel::redrawPages);
    settings.exec();
}

void PrintCommands::downloadMissingTemplates(const QStringList& forms) {
    MainState& state = m_context.state;
    // Claimed before the first box: a page shown while a box waits asks no second time.
    const QStringList missing = TemplateDownload::claimMissing(state, forms);
    if (missing.isEmpty())
        return;
    for (const QString& name : missing)
        showNotice(m_context.window, TemplateFiles::missingNotice(name));
    const TemplateDownload::Result fetched =
        TemplateDownload::fetchClaimed(state, missing, ServiceClient());
    for (const Notice& notice : fetched.notices)
        showNotice(m_context.window, notice);
    // The cards and the courier filter show the templates as they are now.
    if (!fetched.downloaded.isEmpty())
        m_context.list->showCourierChoices();
}

void PrintCommands::openDesigner(const QString& name, const std::optional<Order>& order) {
    auto* designer = new TemplateDesigner(m_context.state, name, order, m_context.window);
    designer->setSpooler(m_spooler.get());
    designer->setAttribute(Qt::WA_DeleteOnClose);
    designer->setWindowModality(Qt::WindowModal);
    // Templates are read once per list; a saved one is read again.
    connect(designer, &TemplateDesigner::templateSaved, m_context.list,
            &OrderListPanel::showCourierChoices);
    designer->show();
}

void PrintCommands::editTemplateOf(qint64 id) {
    if (const std::optional<Order> order = OrderStore(*m_context.state.database).byId(id))
        openDesigner(order->delivery, order);
}

} // namespace mldd
