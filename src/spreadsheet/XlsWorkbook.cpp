#include "XlsWorkbook.h"

#include "NumberFormat.h"

#include <QFile>

#include <freexl.h>

namespace mldd {

XlsWorkbook::XlsWorkbook(QString path, const void* handle, QStringList names)
    : m_path(std::move(path)), m_handle(handle), m_names(std::move(names)) {}

XlsWorkbook::~XlsWorkbook() {
    freexl_close(m_handle);
}

std::variant<std::unique_ptr<XlsWorkbook>, Notice> XlsWorkbook::open(const QString& path) {
    const void* handle = nullptr;
    const int opened = freexl_open(QFile::encodeName(path).constData(), &handle);
    if (opened != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        return opened == FREEXL_INSUFFICIENT_MEMORY ? WorkbookMessages::tooLarge(path)
                                                    : WorkbookMessages::damaged(path);
    }
    unsigned int password = 0;
    unsigned int count = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
        password == FREEXL_BIFF_OBFUSCATED) {
        freexl_close(handle);
        return WorkbookMessages::cannotOpen(path, QStringLiteral("文件设置了密码"));
    }
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
    QStringList names;
    for (unsigned short i = 0; i < count; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle, i, &name) == FREEXL_OK && name)
            names.append(QString::fromUtf8(name));
    }
    if (names.isEmpty()) {
        freexl_close(handle);
        return WorkbookMessages::damaged(path);
    }
    return std::unique_ptr<XlsWorkbook>(new XlsWorkbook(path, handle, names));
}

std::variant<SheetTable, Notice> XlsWorkbook::read(const QString& sheet) const {
    const qsizetype index = m_names.indexOf(sheet);
    if (index < 0)
        return WorkbookMessages::noSuchSheet(m_path, sheet);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(m_handle, (unsigned short)index) != FREEXL_OK ||
        freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK)
        return WorkbookMessages::damaged(m_path);
    SheetTable table;
    table.name = sheet;
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(m_handle, r, c, &value) != FREEXL_OK)
                return WorkbookMessages::damaged(m_path);
            QString text;
            switch (value.type) {
            case FREEXL_CELL_INT:
                text = QString::number(value.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                // The file's number formats are out of libfreexl's reach: the number as General.
                text = NumberFormat::format(value.value.double_value, QString(), QString(), false);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                text = QString::fromUtf8(value.value.text_value);
                break;
            default:
                break;
            }
            if (text.size() > CellName::kMaxCellText)
                return WorkbookMessages::cellTooLong(m_path, sheet, int(r), int(c));
            table.setCell(int(r), int(c), text);
        }
    }
    return table;
}

} // namespace mldd
