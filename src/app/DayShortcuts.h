#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

namespace mldd {

class MainWindow;

/** The keys of the day's job, in one table, set on the main window's menu entries. */
namespace DayShortcuts {

struct Key {
    /** The menu entry's caption. */
    QString caption;
    QKeySequence key;
};

/** Every key, by the caption of the entry it triggers. */
const QList<Key>& table();

/**
 * Adds the 列表 menu (filter, search, pages, ticking the card being edited) to the window and
 * gives every entry of the table its key, so that the menus show the keys.
 */
void install(MainWindow& window);

} // namespace DayShortcuts

} // namespace mldd
