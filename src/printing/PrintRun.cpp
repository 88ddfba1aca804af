#include "PrintRun.h"

#include "CourierGroups.h"
#include "PrintJob.h"
#include "PrintRecovery.h"
#include "PrintableArea.h"
#include "SpoolerWords.h"

#include "core/MainState.h"
#include "core/OrderClaims.h"
#include "core/OrderDatabase.h"
#include "core/OrderStore.h"
#include "core/ProcessIdentity.h"
#include "core/TextFile.h"

#include <algorithm>
#include <utility>

namespace mldd {

namespace {

/** The program option that says the offset guidance was shown. */
constexpr int kOffsetGuidanceShown = 5;
// A file queue is done in milliseconds, a label printer in seconds: ask often for the first
// 30 ms, then ever less often.
constexpr int kFirstPollMs = 2;
constexpr int kQuickPolls = 15;
constexpr int kSlowestPollMs = 250;
constexpr int kOrdersPerListPage = 10;
// Claimed ahead of the run position: few enough that another station still gets work.
constexpr int kClaimSlice = 10;
// Renewed this many times per claim timeout, so that one late renewal never lets a claim lapse.
constexpr int kRenewalsPerLapse = 4;

Notice stopNotice(const QString& text) {
    return Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
}

QList<PageModel> withCopies(const QList<PageModel>& pages, int copies) {
    QList<PageModel> all;
    for (int copy = 0; copy < std::max(1, copies); ++copy)
        all += pages;
    return all;
}

} // namespace

Notice PrintRunResult::summary(PrintDocuments::Kind kind) const {
    const QString what = kind == PrintDocuments::Kind::Waybills ? QStringLiteral("快递单")
                                                                : QStringLiteral("发货单");
    QString text = QStringLiteral("已打印%1张%2。").arg(printed).arg(what);
    if (perCourier.size() > 1) {
        QStringList counts;
        for (const auto& [courier, count] : perCourier)
            counts.append(QStringLiteral("%1 %2张").arg(courier).arg(count));
        text += QStringLiteral("\n其中：") + counts.join(QStringLiteral("，")) + u'。';
    }
    if (recovered > 0)
        text += QStringLiteral("\n上次中断的打印中已完成的%1张%2已补上打印标记。")
                    .arg(recovered)
                    .arg(what);
    if (abandoned > 0)
        text += QStringLiteral("\n上次中断的打印在打印机中留下%1个还没有打印的任务，已取消，"
                               "其订单仍是未打印。")
                    .arg(abandoned);
    if (stillPrinting > 0)
        text += QStringLiteral("\n另有%1个订单上次的打印任务还没有结束，这次没有打印。")
                    .arg(stillPrinting);
    if (!uncertain.isEmpty())
        text +=
            QStringLiteral("\n以下订单上次的打印任务已交给打印系统，但打印系统已没有它的记录，"
                           "不能确定是否已经打印出来，这次没有打印，请查看后再决定是否重打：\n") +
            uncertain.join(u'\n');
    if (takenElsewhere > 0)
        text += QStringLiteral("\n另有%1个订单正由别的打包台打印或已经打印过，这里没有再打。")
                    .arg(takenElsewhere);
    if (!printedTwice.isEmpty())
        text += QStringLiteral("\n以下订单在这台电脑停顿时被别的打包台接手，可能打印了两次，"
                               "请核对后作废多出的一张：\n") +
                printedTwice.join(u'\n');
    if (cancelled)
        text += QStringLiteral("\n打印已取消。");
    if (notReached > 0)
        text += QStringLiteral("\n还有%1张%2没有打印。").arg(notReached).arg(what);
    if (!problems.isEmpty())
        text += QStringLiteral("\n没有打印的订单：\n") + problems.join(u'\n');
    return Notice{text, QStringLiteral("墨岚打单"),
                  problems.isEmpty() && uncertain.isEmpty() && printedTwice.isEmpty()
                      ? Notice::Icon::Information
                      : Notice::Icon::Exclamation};
}

PrintRun::PrintRun(MainState& state, Spooler& spooler, PrintDocuments::Kind kind, QList<qint64> ids,
                   QObject* parent)
    : QObject(parent), m_state(state), m_spooler(spooler), m_documents(state, kind),
      m_ids(std::move(ids)), m_fileFolder(state.folder.file(QStringLiteral("Print"))) {
    connect(&m_timer, &QTimer::timeout, this, &PrintRun::poll);
    connect(&m_heartbeat, &QTimer::timeout, this, &PrintRun::renewClaims);
}

PrintRun::PrintRun(MainState& state, Spooler& spooler, PrintFile file, QObject* parent)
    : PrintRun(state, spooler, file.kind, {}, parent) {
    m_file = std::move(file);
}

PrintRun::~PrintRun() = default;

std::optional<Notice> PrintRun::start() {
    const PrinterSetup setup(m_state.folder, m_state.log);
    auto checked =
        m_documents.kind() == PrintDocuments::Kind::Waybills
            ? PrintChecks::waybillPrinter(setup, m_spooler, m_chosenPrinter)
            : PrintChecks::listPrinter(setup, m_chosenPrinter, m_chosenPaper.has_value());
    if (Notice* refused = std::get_if<Notice>(&checked))
        return *refused;
    m_printer = std::get<CheckedPrinter>(checked);
    RecoveredJobs recovered;
    if (!m_file) {
        // Settled before the queue check: a killed run's half-sent job would block it for good.
        const OrderStore store(*m_state.database);
        recovered = recoverJobs(m_spooler, m_documents, store, PrintJournal(m_state.folder));
        m_result.recovered = int(recovered.marked.size());
        m_result.abandoned = recovered.cancelled;
        m_ids.removeIf([&](qint64 id) {
            const bool undecided = recovered.undecided.contains(id);
            m_result.stillPrinting += undecided;
            return undecided || recovered.marked.contains(id) || recovered.unknown.contains(id);
        });
        for (qint64 id : recovered.unknown) {
            const std::optional<Order> order = store.byId(id);
            m_result.uncertain.append(order ? order->orderSign : QString::number(id));
        }
    }
    if (!m_file)
        groupByCourier();
    if (!m_printer.toFile && !m_file) {
        if (std::optional<Notice> busy = PrintChecks::spoolerCheck(m_spooler, m_printer.name))
            return busy;
    }
    m_dotsPerInch = PrintChecks::dotsPerInch(setup, m_spooler, m_printer.name);
    m_label = LabelSetup(setup).load(m_printer.name).settings;
    if (m_chosenPaper)
        m_label.paperMm = m_chosenPaper;
    // Lists are laid out for the paper in the printer; forms keep their own layout on it.
    if (const std::optional<QSizeF> paper = m_label.loadedPaper())
        m_documents.layListsOn(*paper);
    if (!m_file) {
        m_claims = std::make_unique<OrderClaims>(*m_state.database, m_state.folder, m_state.log);
        // Claims a dead run of this station left would hold its own orders back until they lapse;
        // the orders whose jobs may still come out stay held.
        m_claims->releaseEnded(recovered.undecided);
        if (!claimSliceAt(0))
            return stopNotice(m_state.database->failureText());
        m_heartbeat.start(m_claims->timeoutSeconds() * 1000 / kRenewalsPerLapse);
    }
    m_running = true;
    QTimer::singleShot(0, this, &PrintRun::printNext);
    return std::nullopt;
}

void PrintRun::groupByCourier() {
    const QList<Order> orders = OrderStore(*m_state.database).byIds(m_ids);
    m_ids = groupedByCourier(m_ids, orders);
    QStringList couriers;
    for (const Order& order : orders)
        if (!order.delivery.isEmpty() && !couriers.contains(order.delivery))
            couriers.append(order.delivery);
    m_askFirstPaper = couriers.size() > 1;
}

void PrintRun::cancel() {
    if (!m_running)
        return;
    m_result.cancelled = true;
    m_cancelPressed = true;
    // The order in hand is followed to its end first, so that its mark tells what came out.
    if (!m_sent)
        finish();
}

void PrintRun::printNext() {
    if (!m_running)
        return;
    ++m_position;
    if (m_position > total()) {
        finish();
        return;
    }
    if (m_position % kOrdersPerListPage == 1 && m_position > 1)
        emit listPageTurned();
    if (!m_file) {
        if (!claimSliceAt(m_position - 1)) {
            m_result.stopped = stopNotice(m_state.database->failureText());
            finish();
            return;
        }
        if (!m_held.contains(m_ids[m_position - 1])) {
            skipTakenElsewhere();
            return;
        }
    }

    const std::variant<Order, Notice> found = orderAt(m_position);
    const Order* order = std::get_if<Order>(&found);
    // A store that stopped answering leaves the orders unread, not missing: the run stops.
    if (!order && m_state.database->lastFailure().kind == StoreFailure::Kind::ConnectionLost) {
        m_result.stopped = stopNotice(m_state.database->failureText());
        finish();
        return;
    }
    auto document = order ? m_documents.of(*order)
                          : std::variant<PrintDocuments::Document, Notice>(std::get<Notice>(found));
    if (const Notice* notice = std::get_if<Notice>(&document)) {
        m_result.problems.append(notice->text);
        ++m_handled;
        emit progressed(m_position, total(), order ? order->orderSign : QString());
        QTimer::singleShot(0, this, &PrintRun::printNext);
        return;
    }
    auto& pages = std::get<PrintDocuments::Document>(document);
    if (m_file)
        pages.title = m_file->titleOf(m_position);
    if (!askForPaper(pages.paper)) {
        m_result.cancelled = true;
        finish();
        return;
    }
    switch (send(*order, pages)) {
    case Sent::Stop:
        finish();
        return;
    case Sent::TakenElsewhere:
        skipTakenElsewhere();
        return;
    case Sent::Out:
        break;
    }
    if (m_sent) {
        m_polls = 0;
        m_timer.start(kFirstPollMs);
    } else {
        afterOrder(*order);
    }
}

bool PrintRun::claimSliceAt(int index) {
    if (index < m_claimedUpTo)
        return true;
    const QList<qint64> slice = m_ids.mid(index, kClaimSlice);
    const std::optional<QList<qint64>> claimed = m_claims->claim(slice, claimedPrint());
    if (!claimed)
        return false;
    m_held += *claimed;
    m_claimedUpTo = index + int(slice.size());
    return true;
}

void PrintRun::renewClaims() {
    if (const std::optional<QList<qint64>> still = m_claims->renew(m_held))
        m_held = *still;
}

void PrintRun::skipTakenElsewhere() {
    ++m_result.takenElsewhere;
    ++m_handled;
    emit progressed(m_position, total(), QString());
    QTimer::singleShot(0, this, &PrintRun::printNext);
}

void PrintRun::afterOrder(const Order& order) {
    m_held.removeOne(order.id);
    ++m_handled;
    emit progressed(m_position, total(), order.orderSign);
    if (m_result.cancelled || guidanceDue()) {
        finish();
        return;
    }
    QTimer::singleShot(0, this, &PrintRun::printNext);
}

std::variant<Order, Notice> PrintRun::orderAt(int position) const {
    if (m_file)
        return m_file->records[position - 1];
    const qint64 id = m_ids[position - 1];
    if (std::optional<Order> order = OrderStore(*m_state.database).byId(id))
        return *order;
    return stopNotice(QStringLiteral("没有这个订单：%1").arg(id));
}

bool PrintRun::askForPaper(const QString& paper) {
    const bool changed = !paper.isEmpty() && paper != m_previousPaper &&
                         (!m_previousPaper.isEmpty() || m_askFirstPaper);
    if (!paper.isEmpty())
        m_previousPaper = paper;
    if (!changed || !askPaperChange)
        return true;
    return askPaperChange(
        Notice{QStringLiteral("请将快递单打印纸更换成[%1]，更换完成后再按[确定]！\n"
                              "混合打印效率很低，通过筛选功能，每次只打印一种面单，"
                              "可以提高打印效率。")
                   .arg(paper),
               QStringLiteral("墨岚打单"), Notice::Icon::Exclamation});
}

void PrintRun::logBeyondPage(const Order& order, const QList<PageModel>& pages) const {
    const QString when =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    for (const PageModel& page : pages) {
        for (const QString& line : linesBeyondPage(page, m_printer.placement))
            TextFile::appendLine(m_state.log.path(), line + u'|' + order.orderSign +
                                                         QStringLiteral("|快递单打印超边距|") +
                                                         when);
    }
}

PrintRun::Sent PrintRun::send(const Order& order, const PrintDocuments::Document& document) {
    const QList<PageModel> pages = withCopies(document.pages, m_printer.copies);
    if (m_documents.kind() == PrintDocuments::Kind::Waybills)
        logBeyondPage(order, document.pages);
    const JobTarget target{m_printer, m_fileFolder, m_dotsPerInch, m_label};
    const std::variant<ReadyJob, QString> ready = prepareJob(target, pages);
    if (const QString* why = std::get_if<QString>(&ready)) {
        m_result.stopped =
            stopNotice(QStringLiteral("订单%1没有打印：%2").arg(order.orderSign, *why));
        return Sent::Stop;
    }
    if (const Sent claim = confirmClaim(order); claim != Sent::Out)
        return claim;
    // A print file's records are no stored orders: the spooler follows them, the journal not.
    const bool journalled = !m_printer.toFile && !m_file;
    const PrintJournal::Entry entry{m_printer.name, newJobUuid(), order.id, m_documents.kind(),
                                    ProcessIdentity::current()};
    // Journalled before it is sent: a run killed at any point after this leaves the next run
    // the identity to look for among the spooler's jobs.
    QString error;
    if (journalled && !PrintJournal(m_state.folder).record(entry, &error)) {
        m_result.stopped = stopNotice(
            QStringLiteral("订单%1没有打印：打印记录未能保存：%2").arg(order.orderSign, error));
        return Sent::Stop;
    }
    const std::variant<int, QString> sent = submitJob(
        m_spooler, target, pages, std::get<ReadyJob>(ready), document.title, order.id, entry.uuid);
    if (const QString* why = std::get_if<QString>(&sent)) {
        m_result.stopped =
            stopNotice(QStringLiteral("订单%1没有打印：%2").arg(order.orderSign, *why));
        return Sent::Stop;
    }
    if (!m_printer.toFile) {
        // Should this line be lost, a job the spooler then forgets counts as never sent.
        if (journalled)
            PrintJournal(m_state.folder).noteTaken(entry.uuid, std::get<int>(sent));
        m_sent = SentJob{journalled ? entry : PrintJournal::Entry{}, std::get<int>(sent), order};
        return Sent::Out;
    }
    return printed(order) ? Sent::Out : Sent::Stop;
}

OrderClaims::Print PrintRun::claimedPrint() const {
    return m_documents.kind() == PrintDocuments::Kind::Waybills ? OrderClaims::Print::Waybills
                                                                : OrderClaims::Print::ShippingLists;
}

PrintRun::Sent PrintRun::confirmClaim(const Order& order) {
    // Checked after the drawing, the last slow step: a paper question or a station that slept
    // may have kept the run past its claim, and another station printed the order meanwhile.
    if (m_file)
        return Sent::Out;
    const std::optional<bool> held = m_claims->confirm(order.id, claimedPrint());
    if (!held) {
        m_result.stopped = stopNotice(m_state.database->failureText());
        return Sent::Stop;
    }
    if (!*held) {
        m_held.removeOne(order.id);
        return Sent::TakenElsewhere;
    }
    return Sent::Out;
}

bool PrintRun::printed(const Order& order) {
    // The claim lost while the job was out: another station took the order over and may
    // have printed it too. Nothing can call the page back; the seller is told.
    if (m_claims && !m_file) {
        const std::optional<QList<qint64>> still = m_claims->renew({order.id});
        if (still && still->isEmpty())
            m_result.printedTwice.append(order.orderSign);
    }
    QString error;
    // A print file's records are no stored orders: nothing to mark.
    if (!m_file && !m_documents.mark(order, &error)) {
        m_result.stopped = stopNotice(
            QStringLiteral("订单%1已打印，但打印标记未能保存：%2").arg(order.orderSign, error));
        return false;
    }
    if (!m_file)
        m_result.printedIds.append(order.id);
    ++m_result.printed;
    if (!m_previousPaper.isEmpty()) {
        auto& perCourier = m_result.perCourier;
        if (perCourier.isEmpty() || perCourier.last().first != m_previousPaper)
            perCourier.append({m_previousPaper, 0});
        ++perCourier.last().second;
    }
    return true;
}

void PrintRun::settleSentJob() {
    const SentJob sent = *std::exchange(m_sent, std::nullopt);
    const std::optional<SpoolerJob> job = m_spooler.job(m_printer.name, sent.id);
    if (job && job->state == SpoolerJob::kCompleted) {
        // Left in the journal when the mark fails: the next run marks it.
        if (!printed(sent.order))
            return;
    } else {
        m_result.problems.append(
            QStringLiteral("订单%1打印失败：%2")
                .arg(sent.order.orderSign, job ? SpoolerWords::jobFailure(*job)
                                               : QStringLiteral("打印系统没有回答这个任务的结果")));
    }
    // A job the spooler did not answer for stays journalled: the next run asks again.
    if (job && !sent.entry.uuid.isEmpty())
        PrintJournal(m_state.folder).forget(sent.entry.uuid);
}

bool PrintRun::guidanceDue() {
    if (!m_guidance || m_documents.kind() != PrintDocuments::Kind::Waybills ||
        m_state.options.value(kOffsetGuidanceShown) != 0)
        return false;
    m_state.options.setValue(kOffsetGuidanceShown, 1);
    m_state.saveOptions();
    m_result.stopped = Notice{QStringLiteral("下面将要调整打印偏移。\n调整方法：\n"
                                             "[1]在快递面单空白处点鼠标右键；\n"
                                             "[2]在弹出的右键菜单点[快递单打印偏移调整]。\n"
                                             "[3]将显示项目调整到与打印出来的一样，保存。"),
                              QStringLiteral("打印位置引导"), Notice::Icon::Information};
    return true;
}

void PrintRun::poll() {
    const PrinterQuery query = m_spooler.query(m_printer.name);
    if (!query.retrieved()) {
        m_result.stopped = PrintChecks::unanswered();
        finish();
        return;
    }
    if (query.jobs == PrinterQuery::kNoJobs) {
        m_timer.stop();
        const Order order = m_sent->order;
        settleSentJob();
        if (m_result.stopped) {
            finish();
            return;
        }
        afterOrder(order);
        return;
    }
    if (++m_polls > kQuickPolls)
        m_timer.setInterval(std::min(m_timer.interval() * 2, kSlowestPollMs));
}

void PrintRun::finish() {
    if (!m_running)
        return;
    m_running = false;
    m_result.notReached = total() - m_handled;
    if (!m_file && !m_cancelPressed)
        m_result.remaining = m_ids.mid(m_handled);
    m_timer.stop();
    m_heartbeat.stop();
    if (m_claims)
        m_claims->release(m_ids);
    emit finished();
}

} // namespace mldd
