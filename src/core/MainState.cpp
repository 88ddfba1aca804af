#include "MainState.h"

namespace mldd {

void MainState::requery(OrderCursor::Counting counting) {
    if (!database)
        return;
    cursor.requery(OrderStore(*database), filter.condition, currentPage, counting);
    currentPage = cursor.clampPage(currentPage);
}

QString MainState::informationLine() const {
    return OrderFilter::informationLine(filter.caption, cursor.recordCount(), cursor.pageCount(),
                                        currentPage, cursor.countComplete());
}

bool MainState::saveOptions() {
    settings.softSet = options.toText();
    if (!database)
        return false;
    QSqlDatabase db = database->connection();
    return PrintSettings::saveSoftSet(db, settings.softSet, log);
}

std::optional<Notice> MainState::saveMenu(const MenuVisibility& shown) {
    QSqlDatabase db = database ? database->connection() : QSqlDatabase();
    if (!database || !PrintSettings::saveMenuSet(db, shown.toText(), log))
        return Notice{QStringLiteral("菜单设置保存失败，没有改动。"), QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation};
    menu = shown;
    settings.menuSet = shown.toText();
    return std::nullopt;
}

std::optional<Notice> MainState::saveSettings(const PrintSettings& edited) {
    QSqlDatabase db = database ? database->connection() : QSqlDatabase();
    if (!database || !edited.save(db, log))
        return Notice{QStringLiteral("打印设置保存失败，没有改动。"), QStringLiteral("墨岚打单"),
                      Notice::Icon::Exclamation};
    settings = edited;
    return std::nullopt;
}

} // namespace mldd
