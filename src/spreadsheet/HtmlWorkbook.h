#pragma once

#include "Workbook.h"

namespace mldd {

/** An ".xls" that is really a web page holding the table: one sheet named after the file. */
class HtmlWorkbook : public Workbook {
public:
    /** Refused with a message when the page holds no table rows. */
    static std::variant<std::unique_ptr<HtmlWorkbook>, Notice> open(const QString& path);

    QStringList sheetNames() const override { return {m_sheetName}; }
    std::variant<SheetTable, Notice> read(const QString& sheet) const override;

private:
    HtmlWorkbook(QString path, QList<QStringList> rows);

    QString m_path;
    QString m_sheetName;
    QList<QStringList> m_rows;
};

} // namespace mldd
