#include "Commands.h"
#include "ProgramStart.h"

#include "core/MainState.h"
#include "spreadsheet/ExportLayouts.h"
#include "spreadsheet/ImportRun.h"
#include "spreadsheet/Workbook.h"
#include "spreadsheet/WriteBack.h"

namespace mldd::cli {

namespace {

const QString kImportUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] import --file F [--layout NAME [--map 字段=列]…] [--sheet S] "
    "[--header-row N] [--sender MYID] [--template NAME]\n"
    "  不给 --layout 时按表头认出网店的订单导出表格（或以前保存的表格方案）直接导入");
const QString kWriteBackUsage =
    QStringLiteral("用法: mldd-cli [--data DIR] writeback --file F --layout NAME [--sheet S]");

// The sheet's table: the named one, else the one the workbook opens on.
std::variant<SheetTable, Notice> readSheet(const QString& path,
                                           const std::optional<QString>& sheet) {
    std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(path);
    if (auto* notice = std::get_if<Notice>(&opened))
        return *notice;
    const Workbook& book = *std::get<std::unique_ptr<Workbook>>(opened);
    return book.read(sheet.value_or(book.sheetNames().value(book.activeSheet())));
}

int failWith(const Notice& notice) {
    return fail(Failed, notice.text);
}

} // namespace

int runImport(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const auto file = takeOption(args, QStringLiteral("file"), &missingValue);
    const auto layoutName = takeOption(args, QStringLiteral("layout"), &missingValue);
    const auto sheetName = takeOption(args, QStringLiteral("sheet"), &missingValue);
    const auto headerRow = takeOption(args, QStringLiteral("header-row"), &missingValue);
    const auto sender = takeOption(args, QStringLiteral("sender"), &missingValue);
    const auto templateName = takeOption(args, QStringLiteral("template"), &missingValue);
    QStringList maps;
    while (const auto map = takeOption(args, QStringLiteral("map"), &missingValue))
        maps.append(*map);
    if (missingValue || !file || (!layoutName && !maps.isEmpty()) || !args.isEmpty())
        return fail(Usage, kImportUsage);

    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;
    std::variant<SheetTable, Notice> read = readSheet(*file, sheetName);
    if (auto* notice = std::get_if<Notice>(&read))
        return failWith(*notice);
    const SheetTable& sheet = std::get<SheetTable>(read);

    ImportLayout layout;
    if (!layoutName) {
        const ExportLayouts::Recognition found =
            ExportLayouts::forSheet(state.folder, state.log, sheet, state.profiles);
        if (!found.recognized)
            return fail(Failed, ExportLayouts::unknownLayoutText(found) +
                                    QStringLiteral("\n请用 --layout 和 --map 给出各项对应的列。"));
        layout = found.layout;
    } else if (maps.isEmpty()) {
        const std::optional<ImportLayout> saved =
            ImportLayout::load(state.folder, *layoutName, state.log);
        if (!saved)
            return fail(Failed,
                        QStringLiteral("没有表格方案“%1”的提取文件，请用 --map 给出各项对应的列。")
                            .arg(*layoutName));
        layout = *saved;
    }
    if (layoutName)
        layout.name = *layoutName;
    for (const QString& map : maps) {
        const int field = ImportLayout::fieldOf(map.section(u'=', 0, 0));
        const std::optional<ColumnExpression> columns =
            ColumnExpression::parse(map.section(u'=', 1));
        if (!map.contains(u'=') || field < 0 || !columns)
            return fail(Usage,
                        QStringLiteral("--map %1 不对：字段名是提取窗口中的名称（不带“ =”），"
                                       "列用字母，多列用+连接。\n")
                                .arg(map) +
                            kImportUsage);
        layout.expressions[field] = *columns;
    }
    if (headerRow) {
        bool ok = false;
        layout.headerRow = headerRow->toInt(&ok);
        if (!ok || layout.headerRow < 1)
            return fail(Usage, kImportUsage);
    }
    if (sender)
        layout.sender = *sender;
    if (templateName)
        layout.templateName = *templateName;
    if (const std::optional<Notice> refused = layout.check(state.templates))
        return failWith(*refused);

    if (!maps.isEmpty()) {
        layout.noteHeaders(sheet.rows.value(layout.headerRow - 1));
        if (!layout.save(state.folder, state.log))
            return fail(Failed, QStringLiteral("提取文件没有保存，请检查数据文件夹。"));
    }

    std::variant<std::unique_ptr<ImportRun>, Notice> started =
        ImportRun::start(state, sheet, layout, *file);
    if (auto* notice = std::get_if<Notice>(&started))
        return failWith(*notice);
    ImportRun& run = *std::get<std::unique_ptr<ImportRun>>(started);
    while (run.step(500)) {
    }
    std::variant<ImportCount, Notice> finished = run.finish();
    if (auto* notice = std::get_if<Notice>(&finished))
        return failWith(*notice);
    const ImportCount& count = std::get<ImportCount>(finished);
    for (const Notice& notice : count.notices())
        writeError(notice.text + u'\n');
    writeOut(count.countsLine().trimmed() + u'\n');
    return Success;
}

int runWriteBack(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const auto file = takeOption(args, QStringLiteral("file"), &missingValue);
    const auto layoutName = takeOption(args, QStringLiteral("layout"), &missingValue);
    const auto sheetName = takeOption(args, QStringLiteral("sheet"), &missingValue);
    if (missingValue || !file || !layoutName || !args.isEmpty())
        return fail(Usage, kWriteBackUsage);
    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;
    const std::optional<ImportLayout> layout =
        ImportLayout::load(state.folder, *layoutName, state.log);
    if (!layout)
        return fail(Failed, QStringLiteral("没有表格方案“%1”的提取文件。").arg(*layoutName));
    QString sheet = sheetName.value_or(QString());
    if (!sheetName) {
        std::variant<std::unique_ptr<Workbook>, Notice> opened = Workbook::open(*file);
        if (auto* notice = std::get_if<Notice>(&opened))
            return failWith(*notice);
        const Workbook& book = *std::get<std::unique_ptr<Workbook>>(opened);
        sheet = book.sheetNames().value(book.activeSheet());
    }
    const WriteBack::Result result = WriteBack::run(state, *file, *layout, sheet);
    if (!result.ok)
        return failWith(result.notice);
    writeOut(result.notice.text + u'\n');
    return Success;
}

} // namespace mldd::cli
