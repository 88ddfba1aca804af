#pragma once

#include "ImportLayout.h"

#include "core/Notice.h"

#include <variant>

namespace mldd {

struct MainState;

/**
 * Puts the tracking numbers and courier names of imported orders whose
 * waybills are printed back into the seller's workbook: into the columns the
 * layout names for them, else into columns headed 快递单号 and 快递公司, which
 * are added (text format) after the last used column when the sheet has none.
 * .xlsx and .csv are changed in place through a temporary file and a rename,
 * leaving every other cell, sheet and style as it was; .xls (binary or a web
 * page) is written as a new .xlsx beside it. A locked or read-only file is refused untouched.
 */
namespace WriteBack {

struct Result {
    bool ok = false;
    int written = 0;    // orders whose rows got their tracking number and courier
    int notPrinted = 0; // orders of the sheet with no printed waybill yet
    QString writtenFile;
    Notice notice;
};

Result run(const MainState& state, const QString& path, const ImportLayout& layout,
           const QString& sheet);

/** The layout and sheet a workbook's orders were imported with. */
struct Target {
    ImportLayout layout;
    QString sheet;
};

/**
 * Finds them for a workbook: the sheet its imported orders name, else the one
 * it opens on; the saved layout whose headers that sheet has, else the layout
 * named after the file. A notice when the workbook has none.
 */
std::variant<Target, Notice> targetOf(const MainState& state, const QString& path);

/** The workbooks these orders were imported from, as their hb_dj_id names them, in first use. */
QStringList workbooksOf(const MainState& state, const QList<qint64>& orderIds);

/** The question after a waybill run whose orders came from workbooks; none when none did. */
std::optional<Notice> questionAfterPrint(const QStringList& workbooks);

/** The courier name of a template: the first courier name it contains, else the template itself. */
QString courierName(const QString& templateName, const QStringList& courierNames);

/** Why a file cannot be written now (open in a spreadsheet program, read-only), if so. */
std::optional<QString> refusalToWrite(const QString& path);

} // namespace WriteBack
} // namespace mldd
