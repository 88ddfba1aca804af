#pragma once

#include "CommandContext.h"

#include <QObject>

#include <memory>

namespace mldd {

class ImportProgress;

/** 导入Excel and 回写Excel: orders from a workbook, and their tracking numbers back into it. */
class SpreadsheetCommands : public QObject {
    Q_OBJECT

public:
    explicit SpreadsheetCommands(const CommandContext& context, QObject* parent = nullptr);
    ~SpreadsheetCommands() override;

    void importSpreadsheet();
    /** Opens the mapping window on a workbook (chosen or dropped), its headers recognised. */
    void importFile(const QString& path);
    void writeBackSpreadsheet();
    /** After a waybill run: offers to write the tracking numbers back into the orders' workbooks.
     */
    void offerWriteBack(const QList<qint64>& printedIds);

    /** The import while it runs. */
    ImportProgress* importProgress() const { return m_import.get(); }

private:
    /** Writes one workbook back and tells the seller how it went. */
    void writeBack(const QString& path);

    CommandContext m_context;
    /** The spreadsheet import running behind its progress dialog. */
    std::unique_ptr<ImportProgress> m_import;
};

} // namespace mldd
