#include "MainState.h"

namespace mldd {

void MainState::requery() {
    if (!database)
        return;
    cursor.requery(OrderStore(*database), filter.condition);
    currentPage = cursor.clampPage(currentPage);
}

QString MainState::informationLine() const {
    return OrderFilter::informationLine(filter.caption, cursor.recordCount(), cursor.pageCount(),
                                        currentPage);
}

bool MainState::saveOptions() {
    settings.softSet = options.toText();
    if (!database)
        return false;
    QSqlDatabase db = database->connection();
    return PrintSettings::saveSoftSet(db, settings.softSet, log);
}

} // namespace mldd
