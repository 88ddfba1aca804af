#pragma once

#include <QByteArray>
#include <QString>

namespace mldd::test {

/** A workbook in the XML format of older spreadsheet programs around these worksheets. */
inline QByteArray xmlSpreadsheet(const QByteArray& worksheets) {
    return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<?mso-application progid="Excel.Sheet"?>
<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet"
 xmlns:o="urn:schemas-microsoft-com:office:office"
 xmlns:x="urn:schemas-microsoft-com:office:excel"
 xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet"
 xmlns:html="http://www.w3.org/TR/REC-html40">
)") + worksheets +
           "</Workbook>\n";
}

} // namespace mldd::test
