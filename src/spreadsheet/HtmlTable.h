#pragma once

#include <QByteArrayView>
#include <QList>
#include <QStringList>

namespace mldd {

/**
 * The table of a web page, read the way a spreadsheet program opens an ".xls"
 * that is really HTML (what several marketplaces export). Loose HTML is the
 * rule there (cells and rows left unclosed, upper-case tags, unquoted
 * attributes), so this is a tolerant scanner, not an XML reader.
 */
namespace HtmlTable {

/** Whether the first bytes of a file are a web page rather than text or a workbook. */
bool looksLikePage(QByteArrayView head);

/** Whether the page says it is GBK, GB2312 or GB18030 (in its meta charset). */
bool declaresGb(QByteArrayView head);

/**
 * Every row of the page's tables in order, each the texts of its td and th
 * cells: tags inside a cell dropped, entities decoded, blanks run together as
 * the browser shows them, <br> kept as a line break, a cell spanning several
 * columns followed by empty ones so that the columns stay under their headers.
 * Tables inside a cell add their text to that cell.
 */
QList<QStringList> rows(QStringView page);

} // namespace HtmlTable
} // namespace mldd
