#include "Workbook.h"

#include "CsvWorkbook.h"
#include "HtmlTable.h"
#include "HtmlWorkbook.h"
#include "XlsWorkbook.h"
#include "XlsxWorkbook.h"
#include "XmlSpreadsheetWorkbook.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mldd {

namespace {

const QString kTitle = QStringLiteral("墨岚打单");
// Enough of a file to tell its kind, a web page's head included.
constexpr qint64 kHeadBytes = 1024;
const QString kNothingImported = QStringLiteral("\r\n这次没有导入订单。");

Notice refusal(const QString& text) {
    return Notice{text + kNothingImported, kTitle, Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).fileName());
}

template <typename Book>
std::variant<std::unique_ptr<Workbook>, Notice>
opened(std::variant<std::unique_ptr<Book>, Notice> book) {
    if (auto* notice = std::get_if<Notice>(&book))
        return *notice;
    return std::unique_ptr<Workbook>(std::move(std::get<std::unique_ptr<Book>>(book)));
}

} // namespace

namespace WorkbookMessages {

Notice forWriteBack(Notice notice) {
    if (notice.text.endsWith(kNothingImported))
        notice.text.chop(kNothingImported.size());
    notice.text += QStringLiteral("\r\n表格文件没有改动。");
    return notice;
}

Notice cannotOpen(const QString& path, const QString& reason) {
    return refusal(QStringLiteral("表格文件 %1 打不开：%2。").arg(shown(path), reason));
}

Notice unreadable(const QString& why) {
    return refusal(why);
}

Notice damaged(const QString& path) {
    return refusal(QStringLiteral("表格文件 %1 不完整或已经损坏，读不出来。\r\n"
                                  "请用表格软件打开它检查一下，另存一份后再导入。")
                       .arg(shown(path)));
}

Notice tooLarge(const QString& path) {
    return refusal(QStringLiteral("表格文件 %1 解开后大得不正常，不是正常的订单表格，没有读取。")
                       .arg(shown(path)));
}

Notice webPage(const QString& path) {
    return refusal(QStringLiteral("文件 %1 是网页格式，里面没有表格，不是订单表格。\r\n"
                                  "请回到网店后台重新导出订单，再导入导出的文件。")
                       .arg(shown(path)));
}

Notice unknownFormat(const QString& path) {
    return refusal(QStringLiteral("文件 %1 不是能导入的表格。\r\n"
                                  "可以导入的是.xlsx、.xls、.xml、.csv和.txt文件。")
                       .arg(shown(path)));
}

Notice cellTooLong(const QString& path, const QString& sheet, int row, int column) {
    const QString where =
        row < 0 ? QStringLiteral("有一个单元格")
                : QStringLiteral("工作表“%1”的%2单元格").arg(sheet, CellName::of(row, column));
    return refusal(QStringLiteral("表格文件 %1 中%2的内容超过32767个字，表格软件也不会这样保存，"
                                  "这个文件不是正常的订单表格。")
                       .arg(shown(path), where));
}

Notice noSuchSheet(const QString& path, const QString& sheet) {
    return refusal(QStringLiteral("表格文件 %1 中没有工作表“%2”。").arg(shown(path), sheet));
}

} // namespace WorkbookMessages

QString Workbook::fileFilter() {
    return QStringLiteral("表格文件 (*.xlsx *.xls *.xml *.csv *.txt);;所有文件 (*)");
}

std::variant<SheetTable, Notice>
Workbook::textSheet(const QString& path, const QString& sheet, int rows,
                    const std::function<int(int row)>& columns,
                    const std::function<QString(int row, int column)>& cell) {
    if (rows > CellName::kMaxRows)
        return WorkbookMessages::tooLarge(path);
    SheetTable table;
    table.name = sheet;
    for (int r = 0; r < rows; ++r) {
        const int fields = columns(r);
        if (fields > CellName::kMaxColumns)
            return WorkbookMessages::tooLarge(path);
        for (int c = 0; c < fields; ++c) {
            const QString text = cell(r, c);
            if (text.size() > CellName::kMaxCellText)
                return WorkbookMessages::cellTooLong(path, sheet, r, c);
            table.setCell(r, c, text);
        }
    }
    return table;
}

std::variant<std::unique_ptr<Workbook>, Notice> Workbook::open(const QString& path) {
    // A pipe would wait for a writer and a device never end: refused before they are opened.
    if (const std::optional<QString> refused = TextFile::readRefusal(path, kMaxBytes))
        return WorkbookMessages::unreadable(*refused);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return WorkbookMessages::cannotOpen(path, file.errorString());
    const QByteArray head = file.read(kHeadBytes);
    file.close();
    if (head.startsWith("PK\x03\x04"))
        return opened(XlsxWorkbook::open(path));
    if (head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return opened(XlsWorkbook::open(path));
    // Older exports are the XML workbook of spreadsheet programs, named .xls or .xml.
    if (XmlSpreadsheetWorkbook::looksLikeOne(head))
        return opened(XmlSpreadsheetWorkbook::open(path));
    // Some marketplaces save a web page holding the table under the name .xls.
    if (HtmlTable::looksLikePage(head))
        return opened(HtmlWorkbook::open(path));
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx" || suffix == u"xlsm")
        return WorkbookMessages::damaged(path);
    // Some marketplaces save tab-separated text under the name .xls.
    if (suffix == u"csv" || suffix == u"txt" || suffix == u"xls")
        return opened(CsvWorkbook::open(path));
    return WorkbookMessages::unknownFormat(path);
}

} // namespace mldd
