#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace mldd {

/** One worksheet as the seller sees it: the text of every cell, by row and column from 0. */
struct SheetTable {
    QString name;
    /** Row r holds the texts of its cells up to its last used one. */
    QList<QStringList> rows;
    /** Cells that hold an error value (#DIV/0!, #N/A ...), by cellKey. */
    QHash<quint64, QString> errors;
    /** Formula cells whose file holds no result (saved by a program that does not calculate). */
    QSet<quint64> uncalculated;

    static quint64 cellKey(int row, int column) { return (quint64(row) << 32) | quint32(column); }

    QString cell(int row, int column) const { return rows.value(row).value(column); }
    void setCell(int row, int column, const QString& text);
    /** How many columns the widest row uses. */
    int columnCount() const;
    /**
     * Gives every cell of a merged range its top-left text, as the sheet shows it; the
     * range is cut to the used rows and columns.
     */
    void fillMerged(int top, int left, int bottom, int right);
};

/** Column letters and cell names: A is column 0, Z 25, AA 26; "C5" is row 4, column 2. */
namespace CellName {

QString columnLetters(int column);
/** The column of letters such as "AB"; -1 when they are none or too many. */
int columnOf(const QString& letters);
/** Row and column of a cell name such as "C5"; false when it is none. */
bool parse(QStringView name, int* row, int* column);
QString of(int row, int column);

/** The largest sheet a spreadsheet program makes; a reference past it is a made-up file. */
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
/** The most characters one cell may hold in a spreadsheet program. */
constexpr int kMaxCellText = 32767;

} // namespace CellName

} // namespace mldd
