#include "SpreadsheetCommands.h"

#include "ExcelImportDialog.h"
#include "FileChooser.h"
#include "ImportProgress.h"
#include "NoticeBox.h"
#include "OrderListPanel.h"

#include "core/MainState.h"
#include "spreadsheet/ImportRun.h"
#include "spreadsheet/WriteBack.h"

#include <QLabel>

namespace mldd {

SpreadsheetCommands::SpreadsheetCommands(const CommandContext& context, QObject* parent)
    : QObject(parent), m_context(context) {}

SpreadsheetCommands::~SpreadsheetCommands() = default;

void SpreadsheetCommands::importSpreadsheet() {
    QWidget* window = m_context.window;
    showNotice(window, Notice{QStringLiteral("请选择Excel文件，而后编制提取文件！")});
    const QString path =
        FileChooser::openFile(window, QStringLiteral("选择Excel文件"), QString(),
                              Workbook::fileFilter(), QStringLiteral("import.html#import"));
    if (!path.isEmpty())
        importFile(path);
}

void SpreadsheetCommands::importFile(const QString& path) {
    QWidget* window = m_context.window;
    if (m_import)
        return; // one import at a time; the running one is behind its progress dialog
    ExcelImportDialog mapping(m_context.state, window);
    if (!mapping.openWorkbook(path) || mapping.exec() != QDialog::Accepted)
        return;
    m_import = std::make_unique<ImportProgress>(mapping.takeRun(), window);
    connect(m_import.get(), &ImportProgress::finished, this, [this](const QString& countsLine) {
        m_import.release()->deleteLater();
        m_context.status->setText(countsLine);
        m_context.list->showChoices();
        m_context.list->showPage();
    });
    m_import->start();
}

void SpreadsheetCommands::writeBackSpreadsheet() {
    const QString path = FileChooser::openFile(
        m_context.window, QStringLiteral("选择要回写快递单号的Excel文件"), QString(),
        Workbook::fileFilter(), QStringLiteral("import.html#writeback"));
    if (!path.isEmpty())
        writeBack(path);
}

void SpreadsheetCommands::writeBack(const QString& path) {
    std::variant<WriteBack::Target, Notice> target = WriteBack::targetOf(m_context.state, path);
    if (auto* notice = std::get_if<Notice>(&target)) {
        showNotice(m_context.window, *notice);
        return;
    }
    const auto& [layout, sheet] = std::get<WriteBack::Target>(target);
    showNotice(m_context.window, WriteBack::run(m_context.state, path, layout, sheet).notice);
}

void SpreadsheetCommands::offerWriteBack(const QList<qint64>& printedIds) {
    const QStringList workbooks = WriteBack::workbooksOf(m_context.state, printedIds);
    const std::optional<Notice> question = WriteBack::questionAfterPrint(workbooks);
    if (!question || !showNotice(m_context.window, *question))
        return;
    for (const QString& path : workbooks)
        writeBack(path);
}

} // namespace mldd
