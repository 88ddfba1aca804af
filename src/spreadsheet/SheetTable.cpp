#include "SheetTable.h"

#include <algorithm>

namespace mldd {

void SheetTable::setCell(int row, int column, const QString& text) {
    if (text.isEmpty() && (row >= rows.size() || column >= rows.at(row).size()))
        return;
    if (row >= rows.size())
        rows.resize(row + 1);
    QStringList& cells = rows[row];
    if (column >= cells.size())
        cells.resize(column + 1);
    cells[column] = text;
}

int SheetTable::columnCount() const {
    qsizetype widest = 0;
    for (const QStringList& row : rows)
        widest = std::max(widest, row.size());
    return int(widest);
}

void SheetTable::fillMerged(int top, int left, int bottom, int right) {
    bottom = std::min(bottom, int(rows.size()) - 1);
    right = std::min(right, columnCount() - 1);
    // A range far larger than any order list is no order list's: left as it is.
    if (bottom < top || right < left || qint64(bottom - top + 1) * (right - left + 1) > 1000000)
        return;
    const QString text = cell(top, left);
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c)
            if (r != top || c != left)
                setCell(r, c, text);
}

namespace CellName {

QString columnLetters(int column) {
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

int columnOf(const QString& letters) {
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int column = 0;
    for (QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return -1;
        column = column * 26 + (u - u'A' + 1);
    }
    return column <= kMaxColumns ? column - 1 : -1;
}

bool parse(QStringView name, int* row, int* column) {
    qsizetype split = 0;
    while (split < name.size() && name.at(split).isLetter())
        ++split;
    const int col = columnOf(name.left(split).toString());
    bool ok = false;
    const int number = name.mid(split).toInt(&ok);
    if (col < 0 || !ok || number < 1 || number > kMaxRows)
        return false;
    *row = number - 1;
    *column = col;
    return true;
}

QString of(int row, int column) {
    return columnLetters(column) + QString::number(row + 1);
}

} // namespace CellName
} // namespace mldd
