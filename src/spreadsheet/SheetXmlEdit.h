#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace mldd {

/** Cell texts to write, by row and column from 0. */
using CellEdits = QMap<int, QMap<int, QString>>;

/**
 * Writes text cells into the XML of an .xlsx worksheet by splicing: the new
 * cells go in as inline strings and every other character of the part stays
 * as it was, so other cells, formulas and styles are untouched.
 */
namespace SheetXmlEdit {

/**
 * The sheet XML with `edits` written. New cells get the style `textStyle`
 * (-1: none); `newColumns` are given `width` and the text style for the whole column.
 * None when the XML cannot be read.
 */
std::optional<QByteArray> writeCells(const QByteArray& sheetXml, const CellEdits& edits,
                                     int textStyle, const QList<int>& newColumns, double width);

/** The styles XML with a cell style of text format ("@") added, and that style's index. */
std::optional<std::pair<QByteArray, int>> addTextStyle(const QByteArray& stylesXml);

/** Text made safe for element content. */
QString escaped(const QString& text);

} // namespace SheetXmlEdit
} // namespace mldd
