#pragma once

#include "CsvText.h"
#include "SheetTextEncoding.h"
#include "Workbook.h"

namespace mldd {

/** A .csv or .txt file as a workbook of one sheet named after the file. */
class CsvWorkbook : public Workbook {
public:
    /** The file's text and how it was encoded, so that write-back writes it back alike. */
    struct File : SheetTextEncoding {
        CsvText csv;
    };

    static std::variant<File, Notice> readFile(const QString& path);
    static std::variant<std::unique_ptr<CsvWorkbook>, Notice> open(const QString& path);

    QStringList sheetNames() const override { return {m_sheetName}; }
    std::variant<SheetTable, Notice> read(const QString& sheet) const override;

    /** The one sheet's name: the file's name without its extension. */
    static QString sheetNameOf(const QString& path);

private:
    CsvWorkbook(QString path, File file);

    QString m_path;
    QString m_sheetName;
    File m_file;
};

} // namespace mldd
