#include "WriteBack.h"

#include "CsvWorkbook.h"
#include "RowOrders.h"
#include "SameReceiver.h"
#include "SheetXmlEdit.h"
#include "TextSplices.h"
#include "XlsxWorkbook.h"
#include "ZipWriter.h"

#include "address/ExpressPlan.h"
#include "core/MainState.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>

#include <fcntl.h>
#include <unistd.h>

namespace mldd::WriteBack {

namespace {

const QString kTracking = QStringLiteral("快递单号");
const QString kCourier = QStringLiteral("快递公司");
constexpr double kColumnWidth = 18;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).fileName());
}

Result failed(const QString& text) {
    Result result;
    result.notice =
        Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
    return result;
}

// Another process holds a lock on the file (spreadsheet programs lock what they have open).
bool lockedByAnother(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool locked = fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

// The ids of the orders imported from this sheet, by row number, as their hb_dj_id says.
QHash<int, qint64> ordersBySource(const MainState& state, const QString& prefix) {
    QHash<int, qint64> rows;
    QSqlQuery query(state.database->connection());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("select id, hb_dj_id from order_data where substr(hb_dj_id, 1, ?) = ?"));
    query.addBindValue(prefix.size());
    query.addBindValue(prefix);
    if (query.exec())
        while (query.next())
            rows.insert(query.value(1).toString().mid(prefix.size()).toInt(),
                        query.value(0).toLongLong());
    return rows;
}

// Each order by id, or the order that took it in when it was merged away; read a slice at a time.
QHash<qint64, Order> shippedOrders(const MainState& state, const QList<qint64>& ids) {
    constexpr int kSlice = 500;
    OrderStore store(*state.database);
    QHash<qint64, Order> byId;
    const auto read = [&](const QList<qint64>& wanted) {
        for (qsizetype first = 0; first < wanted.size(); first += kSlice)
            for (Order& order : store.byIds(wanted.mid(first, kSlice)))
                byId.insert(order.id, std::move(order));
    };
    read(ids);
    QList<qint64> takers;
    for (const Order& order : std::as_const(byId))
        if (order.djType < 0)
            takers.append(order.hbDjId.toLongLong());
    read(takers);
    QHash<qint64, Order> shipped;
    for (qint64 id : ids) {
        const auto order = byId.constFind(id);
        if (order == byId.constEnd())
            continue;
        const auto taker = order->djType < 0 ? byId.constFind(order->hbDjId.toLongLong()) : order;
        if (taker != byId.constEnd())
            shipped.insert(id, *taker);
    }
    return shipped;
}

// A row as the seller finds it in the sheet: its number, order number and receiver.
QString rowName(int row, const Order& order) {
    const QString what = QStringList{order.orderSign, order.buyName}
                             .filter(QRegularExpression(QStringLiteral("\\S")))
                             .join(u' ');
    return what.isEmpty() ? QStringLiteral("第%1行").arg(row + 1)
                          : QStringLiteral("第%1行（%2）").arg(row + 1).arg(what);
}

// Each data row's order: with an order-number column the number finds it (rows may have been
// sorted or added since the import), preferring the order imported from this sheet; a row
// without a number, or a layout without the column, goes by the row it was imported from,
// else by its receiver. The later rows of an order number go with its first. The rows whose
// order is not found go into `unmatched`, named.
QMap<int, qint64> ordersOfRows(const MainState& state, const SheetTable& table,
                               const ImportLayout& layout, const RowOrders& rows, int headerRow,
                               QStringList* unmatched) {
    const QHash<int, qint64> bySource = ordersBySource(state, rows.sourcePrefix());
    const bool numbered = !layout.expressions.at(ImportLayout::OrderNumber).isEmpty();
    const QSet<qint64> fromSheet(bySource.cbegin(), bySource.cend());
    PreparedIds byNumber(*state.database,
                         QStringLiteral("select id from order_data where order_sign = ? "
                                        "order by id desc"));
    SameReceiver sameReceiver(*state.database);
    QMap<int, qint64> rowOrders;
    for (int r = headerRow + 1; r < table.rows.size(); ++r) {
        const std::optional<Order> order = rows.orderOf(r);
        if (!order)
            continue;
        qint64 id = 0;
        if (numbered && !order->orderSign.isEmpty()) {
            const std::vector<qint64> same = byNumber.ids({order->orderSign});
            const auto own = std::find_if(same.begin(), same.end(), [&](qint64 candidate) {
                return fromSheet.contains(candidate);
            });
            id = own != same.end() ? *own : same.empty() ? 0 : same.front();
        } else {
            id = bySource.value(r + 1);
            if (id == 0) {
                const std::vector<qint64> same = sameReceiver.ids(*order);
                id = same.empty() ? 0 : same.front();
            }
        }
        if (id == 0) {
            unmatched->append(rowName(r, *order));
            continue;
        }
        // Every goods line of the order is its parcel's row.
        rowOrders.insert(r, id);
        for (int later : rows.laterRowsOf(r))
            rowOrders.insert(later, id);
    }
    return rowOrders;
}

QString unmatchedNote(const QStringList& rows) {
    constexpr int kNamed = 10;
    if (rows.isEmpty())
        return QString();
    QString names = rows.mid(0, kNamed).join(QStringLiteral("、"));
    if (rows.size() > kNamed)
        names += QStringLiteral("等");
    return QStringLiteral(
               "\r\n表格中有%1行找不到它的订单（导入后改过单号或收货人？），没有回写：%2。")
        .arg(rows.size())
        .arg(names);
}

QString splicedCsv(const CsvText& csv, const CellEdits& edits) {
    TextSplices splices;
    for (auto row = edits.constBegin(); row != edits.constEnd(); ++row) {
        if (row.key() >= csv.records.size())
            continue;
        const CsvText::Record& record = csv.records.at(row.key());
        for (auto cell = row->constBegin(); cell != row->constEnd(); ++cell) {
            if (cell.key() >= record.fields.size())
                continue;
            const auto [start, end] = record.fields.at(cell.key());
            splices.replace(start, end - start, CsvText::written(*cell, csv.delimiter));
        }
        QString appended;
        for (int column = int(record.fields.size()); column <= row->lastKey(); ++column)
            appended += csv.delimiter + CsvText::written(row->value(column), csv.delimiter);
        if (!appended.isEmpty())
            splices.insert(record.end, appended);
    }
    return splices.applied(csv.text);
}

std::optional<QByteArray> newWorkbook(const SheetTable& table, const CellEdits& edits,
                                      const QList<int>& textColumns) {
    QString rows;
    const int rowCount =
        std::max(int(table.rows.size()), edits.isEmpty() ? 0 : edits.lastKey() + 1);
    for (int r = 0; r < rowCount; ++r) {
        QString cells;
        QStringList texts = table.rows.value(r);
        for (auto it = edits.value(r).constBegin(); it != edits.value(r).constEnd(); ++it) {
            if (texts.size() <= it.key())
                texts.resize(it.key() + 1);
            texts[it.key()] = *it;
        }
        for (int c = 0; c < texts.size(); ++c) {
            if (texts.at(c).isEmpty())
                continue;
            cells +=
                QStringLiteral("<c r=\"%1\"%2 t=\"inlineStr\"><is><t xml:space=\"preserve\">%3</t>"
                               "</is></c>")
                    .arg(CellName::of(r, c),
                         textColumns.contains(c) ? QStringLiteral(" s=\"1\"") : QString(),
                         SheetXmlEdit::escaped(texts.at(c)));
        }
        rows += QStringLiteral("<row r=\"%1\">%2</row>").arg(r + 1).arg(cells);
    }
    QString cols;
    for (int c : textColumns)
        cols += QStringLiteral(
                    "<col min=\"%1\" max=\"%1\" width=\"%2\" customWidth=\"1\" style=\"1\"/>")
                    .arg(c + 1)
                    .arg(kColumnWidth);
    const QString main =
        QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
    const QString rel =
        QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
    const QString head =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n");
    return ZipWriter::create({
        {QStringLiteral("[Content_Types].xml"),
         (head +
          QStringLiteral(
              "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
              "<Default Extension=\"rels\" ContentType=\"application/"
              "vnd.openxmlformats-package.relationships+xml\"/>"
              "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
              "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/"
              "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
              "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/"
              "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
              "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
              "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/></Types>"))
             .toUtf8()},
        {QStringLiteral("_rels/.rels"),
         (head + QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
                                "2006/relationships\"><Relationship Id=\"rId1\" Type=\"%1/"
                                "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>")
                     .arg(rel))
             .toUtf8()},
        {QStringLiteral("xl/workbook.xml"),
         (head +
          QStringLiteral("<workbook xmlns=\"%1\" xmlns:r=\"%2\"><sheets><sheet name=\"%3\" "
                         "sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>")
              .arg(main, rel,
                   SheetXmlEdit::escaped(table.name).replace(u'"', QStringLiteral("&quot;"))))
             .toUtf8()},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         (head +
          QStringLiteral("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
                         "2006/relationships\"><Relationship Id=\"rId1\" Type=\"%1/worksheet\" "
                         "Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" "
                         "Type=\"%1/styles\" Target=\"styles.xml\"/></Relationships>")
              .arg(rel))
             .toUtf8()},
        {QStringLiteral("xl/styles.xml"),
         (head + QStringLiteral(
                     "<styleSheet xmlns=\"%1\"><fonts count=\"1\"><font><sz val=\"11\"/><name "
                     "val=\"宋体\"/></font></fonts><fills count=\"2\"><fill><patternFill "
                     "patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/>"
                     "</fill></fills><borders count=\"1\"><border/></borders><cellStyleXfs "
                     "count=\"1\"><xf/></cellStyleXfs><cellXfs count=\"2\"><xf xfId=\"0\"/><xf "
                     "numFmtId=\"49\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs></styleSheet>")
                     .arg(main))
             .toUtf8()},
        {QStringLiteral("xl/worksheets/sheet1.xml"),
         (head + QStringLiteral("<worksheet xmlns=\"%1\">%2<sheetData>%3</sheetData></worksheet>")
                     .arg(main,
                          cols.isEmpty() ? QString() : QStringLiteral("<cols>%1</cols>").arg(cols),
                          rows))
             .toUtf8()},
    });
}

} // namespace

std::variant<Target, Notice> targetOf(const MainState& state, const QString& path) {
    std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(path);
    if (auto* notice = std::get_if<Notice>(&opened))
        return WorkbookMessages::forWriteBack(*notice);
    const Workbook& book = *std::get<std::unique_ptr<Workbook>>(opened);
    Target target;
    target.sheet = book.sheetNames().value(book.activeSheet());
    const QString prefix = RowOrders::sourceOf(QFileInfo(path).absoluteFilePath(), QString(), 0)
                               .section(QStringLiteral("|S|"), 0, 0) +
                           QStringLiteral("|S|");
    QSqlQuery query(state.database->connection());
    query.prepare(QStringLiteral("select hb_dj_id from order_data where substr(hb_dj_id, 1, ?) = ? "
                                 "order by id desc limit 1"));
    query.addBindValue(prefix.size());
    query.addBindValue(prefix);
    if (query.exec() && query.next())
        target.sheet =
            query.value(0).toString().mid(prefix.size()).section(QStringLiteral("|L|"), 0, 0);
    std::variant<SheetTable, Notice> read = book.read(target.sheet);
    if (auto* notice = std::get_if<Notice>(&read))
        return WorkbookMessages::forWriteBack(*notice);
    const SheetTable& table = std::get<SheetTable>(read);
    for (const QString& name : ImportLayout::savedNames(state.folder)) {
        std::optional<ImportLayout> layout = ImportLayout::load(state.folder, name, state.log);
        if (layout && layout->matchesHeaders(table.rows.value(layout->headerRow - 1))) {
            target.layout = *layout;
            return target;
        }
    }
    const QString named = ImportLayout::nameFor(state.folder, state.log, path, {});
    std::optional<ImportLayout> layout = ImportLayout::load(state.folder, named, state.log);
    if (!layout)
        return failed(
                   QStringLiteral("表格文件 %1 的样式没有导入过（没有它的提取文件），不能回写。\r\n"
                                  "请先用“导入Excel”导入它的订单。")
                       .arg(shown(path)))
            .notice;
    target.layout = *layout;
    return target;
}

QStringList workbooksOf(const MainState& state, const QList<qint64>& orderIds) {
    QStringList workbooks;
    for (const Order& order : OrderStore(*state.database).byIds(orderIds)) {
        if (!order.hbDjId.startsWith(QStringLiteral("|F|")))
            continue;
        const QString path = order.hbDjId.mid(3).section(QStringLiteral("|S|"), 0, 0);
        if (!workbooks.contains(path))
            workbooks.append(path);
    }
    return workbooks;
}

std::optional<Notice> questionAfterPrint(const QStringList& workbooks) {
    if (workbooks.isEmpty())
        return std::nullopt;
    QStringList names;
    for (const QString& path : workbooks)
        names.append(shown(path));
    return Notice{QStringLiteral("刚打印的订单是从Excel文件 %1 导入的。\r\n"
                                 "要把快递单号和快递公司写回这个文件吗？")
                      .arg(names.join(QStringLiteral("、"))),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

QString courierName(const QString& templateName, const QStringList& courierNames) {
    for (const QString& name : courierNames)
        if (!name.isEmpty() && templateName.contains(name))
            return name;
    return templateName;
}

std::optional<QString> refusalToWrite(const QString& path) {
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("找不到表格文件 %1。").arg(QDir::toNativeSeparators(path));
    const QDir folder = file.dir();
    const bool ownerFileThere = folder.exists(QStringLiteral(".~lock.") + file.fileName() + u'#') ||
                                folder.exists(QStringLiteral("~$") + file.fileName());
    if (ownerFileThere || lockedByAnother(path))
        return QStringLiteral("表格文件 %1 正在被表格软件打开，不能回写。\r\n"
                              "请先在表格软件中关闭它，再回写。")
            .arg(shown(path));
    if (!file.permission(QFile::WriteOwner) || !file.isWritable())
        return QStringLiteral("表格文件 %1 是只读的，不能回写。\r\n请去掉它的只读属性后再回写。")
            .arg(shown(path));
    return std::nullopt;
}

Result run(const MainState& state, const QString& path, const ImportLayout& layout,
           const QString& sheetName) {
    std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(path);
    if (auto* notice = std::get_if<Notice>(&opened)) {
        Result result;
        result.notice = WorkbookMessages::forWriteBack(*notice);
        return result;
    }
    const Workbook& book = *std::get<std::unique_ptr<Workbook>>(opened);
    const auto* xlsx = dynamic_cast<const XlsxWorkbook*>(&book);
    // A binary .xls or a web page cannot be changed in place: the tracking numbers go into
    // a new .xlsx beside it.
    const bool newFile = !xlsx && dynamic_cast<const CsvWorkbook*>(&book) == nullptr;
    if (!newFile) {
        if (const std::optional<QString> refusal = refusalToWrite(path))
            return failed(*refusal);
    }
    std::variant<SheetTable, Notice> read = book.read(sheetName);
    if (auto* notice = std::get_if<Notice>(&read)) {
        Result result;
        result.notice = WorkbookMessages::forWriteBack(*notice);
        return result;
    }
    const SheetTable& table = std::get<SheetTable>(read);

    // The target columns: those of the layout, else those headed so, else new ones.
    const int headerRow = layout.headerRow - 1;
    const QStringList header = table.rows.value(headerRow);
    int lastUsed = table.columnCount() - 1;
    QList<int> newColumns;
    CellEdits edits;
    const auto columnFor = [&](ImportLayout::Field field, const QString& heading) {
        int column = layout.expressions.at(field).columns.value(0, -1);
        if (column < 0)
            column = int(header.indexOf(heading));
        if (column < 0) {
            column = ++lastUsed;
            newColumns.append(column);
        }
        if (header.value(column).isEmpty())
            edits[headerRow][column] = heading;
        return column;
    };
    const int courierColumn = columnFor(ImportLayout::CourierColumn, kCourier);
    const int trackingColumn = columnFor(ImportLayout::TrackingColumn, kTracking);

    const RowOrders rows(state, table, layout, path);
    QStringList unmatched;
    const QMap<int, qint64> rowOrders =
        ordersOfRows(state, table, layout, rows, headerRow, &unmatched);
    // A merged row ships in the parcel of the order that took it in.
    const QHash<qint64, Order> shipped = shippedOrders(state, rowOrders.values());
    QStringList couriers = ExpressPlan::fromText(state.settings.selectKD).courierNames;
    if (couriers.isEmpty())
        couriers = ExpressPlan::defaultCourierNames();
    QSet<qint64> written;
    QSet<qint64> notPrinted;
    for (auto row = rowOrders.constBegin(); row != rowOrders.constEnd(); ++row) {
        const auto stored = shipped.constFind(*row);
        if (stored == shipped.constEnd())
            continue;
        if (stored->kdSign < 1) {
            notPrinted.insert(*row);
            continue;
        }
        edits[row.key()][trackingColumn] = stored->wuliuCode;
        edits[row.key()][courierColumn] = courierName(stored->delivery, couriers);
        written.insert(*row);
    }
    Result result;
    result.written = int(written.size());
    result.notPrinted = int(notPrinted.size());
    if (result.written == 0)
        return failed(
            QStringLiteral("表格文件 %1 中没有已经打印快递单的订单，没有回写。").arg(shown(path)) +
            unmatchedNote(unmatched));

    std::optional<QByteArray> bytes;
    result.writtenFile = path;
    if (xlsx) {
        const auto part = std::find_if(xlsx->sheetParts().begin(), xlsx->sheetParts().end(),
                                       [&](const auto& p) { return p.name == sheetName; });
        ZipArchive::Failure why;
        const std::optional<QByteArray> sheetXml =
            xlsx->archive().read(part->entry, ZipArchive::kEntryLimit, &why);
        QHash<QString, QByteArray> replaced;
        int textStyle = -1;
        if (!xlsx->stylesEntry().isEmpty()) {
            const std::optional<QByteArray> styles =
                xlsx->archive().read(xlsx->stylesEntry(), ZipArchive::kEntryLimit, &why);
            if (const auto added = styles ? SheetXmlEdit::addTextStyle(*styles) : std::nullopt) {
                replaced.insert(xlsx->stylesEntry(), added->first);
                textStyle = added->second;
            }
        }
        const std::optional<QByteArray> edited =
            sheetXml
                ? SheetXmlEdit::writeCells(*sheetXml, edits, textStyle, newColumns, kColumnWidth)
                : std::nullopt;
        if (edited) {
            replaced.insert(part->entry, *edited);
            bytes = ZipWriter::rewrite(xlsx->archive(), replaced);
        }
    } else if (newFile) {
        const QFileInfo source(path);
        result.writtenFile =
            source.dir().filePath(source.completeBaseName() + QStringLiteral("-快递单号.xlsx"));
        bytes = newWorkbook(table, edits, {courierColumn, trackingColumn});
    } else {
        std::variant<CsvWorkbook::File, Notice> csv = CsvWorkbook::readFile(path);
        if (const auto* file = std::get_if<CsvWorkbook::File>(&csv))
            bytes = file->encoded(splicedCsv(file->csv, edits));
    }
    if (!bytes)
        return failed(QStringLiteral("回写没有成功：%1 的内容无法改写。\r\n表格文件没有改动。")
                          .arg(shown(result.writtenFile)));
    QString error;
    if (!TextFile::writeBytes(result.writtenFile, *bytes, &error))
        return failed(QStringLiteral("回写没有成功：") + error);
    result.ok = true;
    QString text = QStringLiteral("已把%1个订单的快递单号和快递公司写入 %2。")
                       .arg(result.written)
                       .arg(shown(result.writtenFile));
    if (newFile)
        text += QStringLiteral("\r\n.%1文件不能直接改写，所以写进了它旁边的这个新文件，"
                               "原来的文件没有改动。")
                    .arg(QFileInfo(path).suffix());
    if (result.notPrinted > 0)
        text +=
            QStringLiteral("\r\n还有%1个订单的快递单没有打印，没有回写。").arg(result.notPrinted);
    text += unmatchedNote(unmatched);
    result.notice =
        Notice{text, QStringLiteral("墨岚打单"), Notice::Icon::Information, Notice::Buttons::Ok};
    return result;
}

} // namespace mldd::WriteBack
