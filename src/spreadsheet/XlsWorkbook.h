#pragma once

#include "Workbook.h"

namespace mldd {

/** An old binary .xls workbook, read with libfreexl. */
class XlsWorkbook : public Workbook {
public:
    static std::variant<std::unique_ptr<XlsWorkbook>, Notice> open(const QString& path);
    ~XlsWorkbook() override;

    QStringList sheetNames() const override { return m_names; }
    std::variant<SheetTable, Notice> read(const QString& sheet) const override;

private:
    XlsWorkbook(QString path, const void* handle, QStringList names);

    QString m_path;
    const void* m_handle;
    QStringList m_names;
};

} // namespace mldd
