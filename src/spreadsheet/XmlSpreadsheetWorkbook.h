#pragma once

#include "Workbook.h"

namespace mldd {

/**
 * A workbook in the XML format older spreadsheet programs saved ("XML Spreadsheet 2003"),
 * under the name .xls or .xml: read whole when opened, as its sheets cannot be found
 * without reading the file through.
 */
class XmlSpreadsheetWorkbook : public Workbook {
public:
    /** Whether the head of a file is such a workbook's: a workbook element in its namespace. */
    static bool looksLikeOne(QByteArrayView head);

    /** Refused with a message when the file is not well-formed or holds no worksheet. */
    static std::variant<std::unique_ptr<XmlSpreadsheetWorkbook>, Notice> open(const QString& path);

    QStringList sheetNames() const override;
    int activeSheet() const override;
    std::variant<SheetTable, Notice> read(const QString& sheet) const override;

    /** One worksheet as the file holds it. */
    struct Sheet {
        SheetTable table;
        bool hidden = false;
    };

private:
    XmlSpreadsheetWorkbook(QString path, QList<Sheet> sheets, int activeTab);

    QString m_path;
    QList<Sheet> m_sheets;
    int m_activeTab = 0;
};

} // namespace mldd
