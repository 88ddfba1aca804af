#pragma once

#include "core/DataFolder.h"
#include "core/ErrorLog.h"
#include "core/Notice.h"

#include <QList>

#include <optional>

namespace mldd {

/** One favourite page of the built-in browser. */
struct Favourite {
    QString title;
    QString address;
};

/**
 * The built-in browser's favourites and its "提取订单后关闭" box, kept in
 * code/IE.txt as one line: the box (0 or 1), then "[IE]" title "{IEF}" address
 * for each favourite.
 */
class Favourites {
public:
    static constexpr int kPlaces = 10;

    /** Reads IE.txt; pieces without a title or an address, and those past the tenth, are dropped.
     */
    static Favourites load(const DataFolder& folder, const ErrorLog& log);

    const QList<Favourite>& list() const { return m_list; }
    bool closeAfterCapture() const { return m_closeAfterCapture; }

    /** Adds a favourite and saves; the refusal to show when nothing was saved. */
    std::optional<Notice> add(const Favourite& favourite);
    /** Removes the favourite at `index` and saves. */
    bool remove(int index);
    /** The question asked before removing one. */
    static Notice removeQuestion();
    bool setCloseAfterCapture(bool close);

    /** The line IE.txt holds. */
    QString toLine() const;
    static Favourites fromLine(const QString& line);

private:
    bool save() const;

    QString m_path;
    ErrorLog m_log{QString()};
    bool m_closeAfterCapture = false;
    QList<Favourite> m_list;
};

} // namespace mldd
