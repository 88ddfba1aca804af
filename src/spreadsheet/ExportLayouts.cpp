#include "ExportLayouts.h"

#include "ExportCell.h"

#include "core/TextCodec.h"
#include "core/TextFile.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <array>

namespace mldd {

namespace {

// The fields an order cannot do without, named when a sheet has no header for them.
constexpr std::array<int, 5> kMainFields{ImportLayout::OrderNumber, ImportLayout::BuyerName,
                                         ImportLayout::Phone1, ImportLayout::Address,
                                         ImportLayout::Goods};

QStringList unplacedOf(const ImportLayout& layout) {
    QStringList labels;
    for (int field : kMainFields)
        if (layout.expressions.at(field).isEmpty())
            labels.append(ImportLayout::fields().at(field).label());
    return labels;
}

const QString kPlatformLine = QStringLiteral("平台=");
const QString kKeys = QStringLiteral("识别=");

QStringList headersOf(const QStringList& row) {
    QStringList headers;
    headers.reserve(row.size());
    for (const QString& cell : row)
        headers.append(ExportCell::clean(cell).simplified());
    return headers;
}

} // namespace

QString ExportLayouts::filePath(const DataFolder& folder) {
    return folder.file(QStringLiteral("code/ExcelExports.txt"));
}

ExportLayouts ExportLayouts::fromText(const QString& text) {
    ExportLayouts layouts;
    Entry* entry = nullptr;
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            layouts.m_entries.append(Entry{line.mid(1, line.size() - 2).trimmed(), {}, {}, {}});
            entry = &layouts.m_entries.last();
            continue;
        }
        if (!entry || !line.contains(u'='))
            continue;
        if (line.startsWith(kPlatformLine)) {
            entry->market = line.mid(kPlatformLine.size()).trimmed();
            continue;
        }
        const QStringList choices = line.section(u'=', 1).split(u'|', Qt::SkipEmptyParts);
        if (line.startsWith(kKeys)) {
            for (const QString& key : choices)
                entry->keys.append(key.trimmed());
            continue;
        }
        const int field = ImportLayout::fieldOf(line.section(u'=', 0, 0));
        if (field >= 0)
            entry->fields.append({field, choices});
    }
    return layouts;
}

ExportLayouts ExportLayouts::load(const DataFolder& folder, const ErrorLog& log) {
    const QString path = filePath(folder);
    if (!QFileInfo::exists(path))
        return {};
    QString why;
    const std::optional<QByteArray> bytes = TextFile::readBytes(path, &why);
    if (!bytes) {
        log.append(QStringLiteral("ExportLayouts"), 53, why);
        return {};
    }
    return fromText(TextCodec::decodeFileBytes(*bytes));
}

ImportLayout ExportLayouts::layoutOf(const Entry& entry, const QStringList& headers, int* placed) {
    ImportLayout layout;
    layout.name = entry.name;
    layout.market = entry.market;
    QSet<int> used;
    *placed = 0;
    for (const auto& [field, choices] : entry.fields) {
        if (!layout.expressions.at(field).isEmpty())
            continue;
        for (const QString& choice : choices) {
            ColumnExpression expression;
            for (const QString& header : choice.split(u'+')) {
                const int column = int(headers.indexOf(header.trimmed()));
                if (column >= 0 && !used.contains(column))
                    expression.columns.append(column);
            }
            if (expression.isEmpty())
                continue;
            for (int column : expression.columns)
                used.insert(column);
            layout.expressions[field] = expression;
            ++*placed;
            break;
        }
    }
    return layout;
}

ExportLayouts::Recognition ExportLayouts::recognize(const SheetTable& sheet) const {
    Recognition best;
    best.headers = headersOf(sheet.rows.value(0));
    best.unplaced = unplacedOf(best.layout);
    int bestScore = -1;
    const int rows = std::min(int(sheet.rows.size()), kHeaderSearchRows);
    for (int row = 0; row < rows; ++row) {
        const QStringList headers = headersOf(sheet.rows.at(row));
        for (const Entry& entry : m_entries) {
            const bool keyed =
                std::all_of(entry.keys.begin(), entry.keys.end(),
                            [&](const QString& key) { return headers.contains(key); });
            if (!keyed)
                continue;
            int placed = 0;
            ImportLayout layout = layoutOf(entry, headers, &placed);
            // An entry with more key headers is the surer one; among equals the one placing more.
            const int score = int(entry.keys.size()) * 1000 + placed;
            if (placed == 0 || score <= bestScore)
                continue;
            bestScore = score;
            layout.headerRow = row + 1;
            const bool usable =
                !layout.expressions.at(ImportLayout::Address).isEmpty() || layout.isGoodsReport();
            best.layout = layout;
            best.headers = headers;
            best.recognized = usable;
            best.unplaced = unplacedOf(layout);
        }
    }
    return best;
}

ExportLayouts::Recognition ExportLayouts::forSheet(const DataFolder& folder, const ErrorLog& log,
                                                   const SheetTable& sheet,
                                                   const QList<SenderProfile>& profiles) {
    Recognition found = load(folder, log).recognize(sheet);
    const int headerRow = found.layout.headerRow;
    for (const QString& name : ImportLayout::savedNames(folder)) {
        std::optional<ImportLayout> saved = ImportLayout::load(folder, name, log);
        if (saved && saved->headerRow == headerRow &&
            saved->matchesHeaders(sheet.rows.value(headerRow - 1))) {
            found.layout = *saved;
            found.recognized = true;
            break;
        }
    }
    if (found.layout.sender.isEmpty()) {
        const QStringList markets = found.layout.market.split(u'、', Qt::SkipEmptyParts);
        for (const SenderProfile& profile : profiles) {
            const QString market = profile.myIdh.section(u':', 0, 0);
            if (profile.myIdh.contains(u':') && markets.contains(market)) {
                found.layout.sender = profile.myIdh;
                break;
            }
        }
        if (found.layout.sender.isEmpty() && !profiles.isEmpty())
            found.layout.sender = profiles.first().myIdh;
    }
    return found;
}

QString ExportLayouts::unknownLayoutText(const Recognition& recognition) {
    QStringList headers = recognition.headers;
    headers.removeAll(QString());
    return QStringLiteral(
               "认不出这是哪种订单表格。\r\n表格中的表头：%1\r\n没有找到这些项目的列：%2")
        .arg(headers.isEmpty() ? QStringLiteral("（没有）") : headers.join(QStringLiteral("、")),
             recognition.unplaced.join(QStringLiteral("、")));
}

} // namespace mldd
