#include "ImportRun.h"

#include "OrderCompletion.h"

#include "address/CourierChoice.h"
#include "core/MainState.h"
#include "core/MaskedReceiver.h"
#include "core/OrderTransaction.h"
#include "workbench/GoodsLines.h"
#include "workbench/OrderListing.h"
#include "workbench/OrderMerge.h"

#include <climits>

namespace mldd {

namespace {

Notice refusal(const QString& text) {
    return Notice{text + QStringLiteral("\r\n这次没有导入订单。"), QStringLiteral("墨岚打单"),
                  Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

QString ownGoods(const Order& order) {
    return order.djType > 0 ? GoodsLines::firstNonEmpty(order.buyGoods, order.djType)
                            : GoodsLines::firstNonEmpty(order.buyGoods, INT_MAX);
}

// The same row imported before: every field the row gave is stored alike.
bool sameRow(const Order& stored, const Order& row) {
    return stored.myId == row.myId && stored.orderSign == row.orderSign &&
           stored.buyId == row.buyId && stored.buyPhone1 == row.buyPhone1 &&
           stored.buyPhone2 == row.buyPhone2 && stored.buyZipcode == row.buyZipcode &&
           stored.buyLy == row.buyLy && ownGoods(stored) == ownGoods(row);
}

} // namespace

QString ImportCount::countsLine() const {
    QString line = QStringLiteral("提示:");
    if (!platform.isEmpty())
        line += u'[' + platform + u']';
    line += QStringLiteral("Excel中共有订单%1个，实提订单%2个，合并订单%3个")
                .arg(rows)
                .arg(imported)
                .arg(merged);
    if (alreadyImported > 0)
        line += QStringLiteral("，已有%1个").arg(alreadyImported);
    if (completed > 0)
        line += QStringLiteral("，补全%1个").arg(completed);
    if (masked > 0)
        line += QStringLiteral("，%1%2个").arg(MaskedReceiver::kMark).arg(masked);
    return line + QStringLiteral("。  ");
}

QList<Notice> ImportCount::notices() const {
    QList<Notice> notices;
    if (courierNotice)
        notices.append(*courierNotice);
    if (alreadyImported > 0)
        notices.append(Notice{
            QStringLiteral("有%1个订单以前已经导入过，这次没有重复导入。").arg(alreadyImported),
            QStringLiteral("墨岚打单"), Notice::Icon::Information, Notice::Buttons::Ok});
    if (!damagedRows.isEmpty())
        notices.append(Notice{
            QStringLiteral("有%1行不完整，没有导入，其余的已经导入：\r\n").arg(damagedRows.size()) +
                damagedRows.join(QStringLiteral("\r\n")),
            QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok});
    if (masked > 0)
        notices.append(
            Notice{QStringLiteral("有%1个订单的收件人被网店隐藏了一部分（%2），已经导入并标上“%2”，"
                                  "可以用筛选找到它们。\r\n这些订单不能打印快递单：请补全收件人，"
                                  "或者用网店自己的工具打印快递单。")
                       .arg(masked)
                       .arg(MaskedReceiver::kMark),
                   QStringLiteral("墨岚打单"), Notice::Icon::Information, Notice::Buttons::Ok});
    if (!errorNote.isEmpty())
        notices.append(Notice{QStringLiteral("有的内容太长，没有保存：") + errorNote,
                              QStringLiteral("墨岚打单"), Notice::Icon::Exclamation,
                              Notice::Buttons::Ok});
    return notices;
}

const QList<FieldLimit>& ImportRun::limits() {
    static const QList<FieldLimit> limits{
        {"order_sign", &Order::orderSign, 100},   {"buy_id", &Order::buyId, 100},
        {"buy_phone1", &Order::buyPhone1, 100},   {"buy_phone2", &Order::buyPhone2, 100},
        {"buy_zipcode", &Order::buyZipcode, 100}, {"wuliu_code", &Order::wuliuCode, 20},
    };
    return limits;
}

ImportRun::ImportRun(MainState& state, const SheetTable& sheet, const ImportLayout& layout,
                     const QString& sourcePath)
    : m_state(state), m_sheet(sheet), m_layout(layout),
      m_rows(state, m_sheet, m_layout, sourcePath),
      m_plan(ExpressPlan::fromText(state.settings.selectKD)), m_rule(limits()),
      m_next(layout.headerRow) {}

ImportRun::~ImportRun() = default;

std::variant<std::unique_ptr<ImportRun>, Notice> ImportRun::start(MainState& state,
                                                                  const SheetTable& sheet,
                                                                  const ImportLayout& layout,
                                                                  const QString& sourcePath) {
    if (sheet.rows.isEmpty())
        return refusal(QStringLiteral("工作表“%1”是空的，没有订单。").arg(sheet.name));
    if (sheet.rows.size() <= layout.headerRow)
        return refusal(QStringLiteral("工作表“%1”在表头（第%2行）下面没有订单。")
                           .arg(sheet.name)
                           .arg(layout.headerRow));
    // A mapped cell that shows an error would become an order's text: the seller fixes it first.
    // Most sheets have none, and their rows are not walked for it.
    const bool doubtful = !sheet.errors.isEmpty() || !sheet.uncalculated.isEmpty();
    for (int row = layout.headerRow; doubtful && row < sheet.rows.size(); ++row) {
        for (const ColumnExpression& expression : layout.expressions) {
            for (int column : expression.columns) {
                const quint64 key = SheetTable::cellKey(row, column);
                const auto error = sheet.errors.constFind(key);
                if (error != sheet.errors.constEnd())
                    return refusal(QStringLiteral("工作表“%1”的%2单元格是错误值%3，"
                                                  "请在表格中改正后再导入。")
                                       .arg(sheet.name, CellName::of(row, column), *error));
                if (sheet.uncalculated.contains(key))
                    return refusal(
                        QStringLiteral("工作表“%1”的%2单元格是公式，文件中没有它的计算结果。\r\n"
                                       "请用表格软件打开这个文件、保存一次后再导入。")
                            .arg(sheet.name, CellName::of(row, column)));
            }
        }
    }
    std::unique_ptr<ImportRun> run(new ImportRun(state, sheet, layout, sourcePath));
    run->m_transaction = std::make_unique<OrderTransaction>(*state.database);
    if (!run->m_transaction->isOpen())
        return refusal(QStringLiteral("订单数据库正忙，请稍后再导入。"));
    // Rows are matched with the orders stored before the run only: its own are
    // known to it, and looking among them would grow with every row.
    const std::vector<qint64> last =
        OrderStore(*state.database).ids(QStringLiteral("select max(id) from order_data"));
    const qint64 lastId = last.empty() ? 0 : last[0];
    run->m_lastId = lastId;
    run->m_byNumber = std::make_unique<PreparedIds>(
        *state.database,
        QStringLiteral("select id from order_data where order_sign = ? and id <= ? order by id"));
    if (!layout.market.isEmpty())
        run->m_count.platform = layout.name;
    run->m_sameReceiver = std::make_unique<SameReceiver>(
        *state.database, lastId,
        QStringList{QStringLiteral("order_sign = ?"),
                    QStringLiteral("dj_type < 0 or (kd_sign = 0 and cf_sign = 0)")});
    run->m_reader = std::make_unique<OrderReader>(*state.database);
    return run;
}

bool ImportRun::step(int rows) {
    const int end = std::min(int(m_sheet.rows.size()), m_next + rows);
    for (; m_next < end && !m_failed; ++m_next)
        takeRow(m_next);
    m_failed = m_failed || !storeSlice();
    return !m_failed && m_next < m_sheet.rows.size();
}

std::vector<ImportRun::Stored> ImportRun::storedOf(const Order& asStored) {
    const std::vector<qint64> found = m_sameReceiver->ids(asStored, {asStored.orderSign});
    std::vector<Stored> stored;
    for (std::size_t at = 0; at + 2 < found.size(); at += 3)
        stored.push_back({found[at], found[at + 1] != 0, found[at + 2] != 0});
    return stored;
}

bool ImportRun::importedBefore(const Order& asStored, const std::vector<Stored>& stored) {
    for (const Stored& candidate : stored) {
        if (!candidate.sameNumber || m_matched.contains(candidate.id))
            continue;
        const std::optional<Order> found = m_reader->byId(candidate.id);
        if (found && sameRow(*found, asStored)) {
            m_matched.insert(candidate.id);
            return true;
        }
    }
    return false;
}

std::optional<Order> ImportRun::mergeTarget(const std::vector<Stored>& stored) {
    for (const Stored& candidate : stored) {
        if (!candidate.mergeable)
            continue;
        std::optional<Order> found = m_reader->byId(candidate.id);
        // An order already merged away leads to the order that took it in.
        if (found && found->djType < 0)
            found = m_reader->byId(found->hbDjId.toLongLong());
        if (found && OrderMerge::canAbsorb(*found))
            return found;
    }
    return std::nullopt;
}

bool ImportRun::completeStored(const Order& asStored) {
    if (asStored.orderSign.isEmpty())
        return false;
    const std::vector<qint64> ids = m_byNumber->ids({asStored.orderSign, m_lastId});
    if (ids.empty())
        return false;
    std::optional<Order> stored = m_reader->byId(ids.front());
    if (!stored)
        return false;
    if (OrderCompletion::complete(*stored, asStored)) {
        ++m_count.completed;
        m_completions.append(*stored);
    } else {
        ++m_count.alreadyImported;
    }
    if (MaskedReceiver::isMasked(*stored))
        ++m_count.masked;
    return true;
}

void ImportRun::takeRow(int row) {
    std::optional<Order> order = m_rows.orderOf(row);
    if (!order)
        return;
    if (const QString damage = m_rows.damageOf(row); !damage.isEmpty()) {
        m_count.damagedRows.append(damage);
        return;
    }
    ++m_count.rows;
    Order asStored = *order;
    OrderWriteRule(limits()).apply(asStored);
    // An order number stored before: this file completes that order, never adds it twice.
    if (completeStored(asStored))
        return;
    if (MaskedReceiver::isMasked(*order))
        ++m_count.masked;
    const std::vector<Stored> stored = storedOf(asStored);
    if (importedBefore(asStored, stored)) {
        ++m_count.alreadyImported;
        return;
    }

    if (order->delivery.isEmpty())
        order->delivery = m_layout.templateName;
    if (order->delivery.isEmpty()) {
        const CourierChoice courier = ChooseCourierFor(m_state, m_plan, *order);
        order->delivery = courier.templateName;
        if (courier.notice && !m_count.courierNotice)
            m_count.courierNotice = courier.notice;
    }

    const int index = int(m_pending.size());
    m_pending.append(*order);
    if (!m_state.importOptions.mergeSameBuyer) {
        ++m_count.imported;
        return;
    }
    // The buyer's order found before in this run, else a stored one, takes the row in. A
    // masked receiver names no buyer: two buyers called 林** are not one.
    const QString receiver =
        MaskedReceiver::isMasked(*order) ? QString() : RowOrders::receiverKey(*order);
    if (receiver.isEmpty()) {
        ++m_count.imported;
        return;
    }
    auto target = m_targets.constFind(receiver);
    if (target == m_targets.constEnd()) {
        if (const std::optional<Order> found = mergeTarget(stored))
            target = m_targets.insert(receiver, {found->id, -1});
    }
    if (target != m_targets.constEnd()) {
        m_merges.append({index, *target});
        ++m_count.merged;
        return;
    }
    ++m_count.imported;
    if (OrderMerge::canAbsorb(*order)) {
        m_targets.insert(receiver, {0, index});
        m_pendingTargets.append(receiver);
    }
}

bool ImportRun::storeSlice() {
    if (!m_completions.isEmpty()) {
        if (!OrderStore(*m_state.database)
                 .updateInTransaction(m_completions, OrderCompletion::columns()))
            return false;
        m_completions.clear();
    }
    if (m_pending.isEmpty())
        return true;
    const auto targetId = [&](const Target& target) {
        return target.pending >= 0 ? m_pending.at(target.pending).id : target.stored;
    };
    QHash<int, Target> mergedInto; // newcomer → the order that takes it in
    for (const Merge& merge : std::as_const(m_merges))
        mergedInto.insert(merge.newcomer, merge.target);
    // Straight into the run's transaction: a failed slice fails the whole run, so
    // a savepoint per slice, which copies every page it changes aside, buys nothing.
    // A merged row is written as taken in at once (its target is stored by then,
    // earlier in the slice or before the run), so it never joins the list's indexes.
    OrderStore store(*m_state.database);
    if (!store.insertInTransaction(m_pending, m_rule, [&](qsizetype index, Order& order) {
            const auto merge = mergedInto.constFind(int(index));
            if (merge != mergedInto.constEnd())
                OrderMerge::markAbsorbed(order, targetId(*merge));
        }))
        return false;
    QHash<qint64, Order> targets;
    for (const Merge& merge : std::as_const(m_merges)) {
        const qint64 id = targetId(merge.target);
        if (!targets.contains(id)) {
            const std::optional<Order> target =
                merge.target.pending >= 0 ? m_pending.at(merge.target.pending) : m_reader->byId(id);
            if (!target)
                return false;
            targets.insert(id, *target);
        }
        OrderMerge::absorb(targets[id], m_pending[merge.newcomer]);
    }
    // The slice's targets are stored now: later rows of their buyers find them by id.
    for (const QString& receiver : std::as_const(m_pendingTargets)) {
        Target& target = m_targets[receiver];
        target = {m_pending.at(target.pending).id, -1};
    }
    m_pending.clear();
    m_merges.clear();
    m_pendingTargets.clear();
    // A merge changes only the goods and the links of the order that takes rows in.
    return targets.isEmpty() ||
           store.updateInTransaction(targets.values(),
                                     {QStringLiteral("dj_type"), QStringLiteral("hb_dj_id"),
                                      QStringLiteral("buy_goods")});
}

std::variant<ImportCount, Notice> ImportRun::finish() {
    if (m_failed || !m_transaction->commit()) {
        cancel();
        return refusal(QStringLiteral("订单保存失败。"));
    }
    m_count.errorNote = m_rule.errors();
    m_state.senderChoice = m_layout.sender;
    m_state.courierChoice = OrderFilter::kAll;
    m_state.printStateChoice = QStringLiteral("快递单未打");
    OrderListing::applyFilter(m_state);
    return m_count;
}

void ImportRun::cancel() {
    m_transaction->rollback();
    m_failed = true;
}

} // namespace mldd
