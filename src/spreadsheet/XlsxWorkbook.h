#pragma once

#include "Workbook.h"
#include "ZipArchive.h"

#include <QHash>

namespace mldd {

/** An .xlsx workbook: a zip of XML parts read with libzip and QXmlStreamReader. */
class XlsxWorkbook : public Workbook {
public:
    /** One sheet of the workbook part, hidden or not. */
    struct SheetPart {
        QString name;
        QString entry; // the zip entry of its XML, e.g. "xl/worksheets/sheet1.xml"
        bool hidden = false;
    };

    static std::variant<std::unique_ptr<XlsxWorkbook>, Notice> open(const QString& path);

    QStringList sheetNames() const override;
    int activeSheet() const override;
    std::variant<SheetTable, Notice> read(const QString& sheet) const override;

    /** Every sheet, hidden ones too, in the workbook's order. */
    const QList<SheetPart>& sheetParts() const { return m_sheets; }
    /** The zip entry of the styles part; empty when there is none. */
    QString stylesEntry() const { return m_stylesEntry; }
    const ZipArchive& archive() const { return *m_archive; }
    QString path() const { return m_path; }

private:
    XlsxWorkbook(QString path, std::unique_ptr<ZipArchive> archive);
    std::optional<Notice> readWorkbookPart();
    std::optional<Notice> readSharedStrings();
    std::optional<Notice> readStyles();
    std::optional<QByteArray> entry(const QString& name, std::optional<Notice>* failure) const;

    QString m_path;
    std::unique_ptr<ZipArchive> m_archive;
    QList<SheetPart> m_sheets;
    int m_activeTab = 0;
    bool m_date1904 = false;
    QString m_sharedStringsEntry;
    QString m_stylesEntry;
    QStringList m_sharedStrings;
    QList<QString> m_cellFormats; // format code of each cell style (cellXfs)
};

} // namespace mldd
