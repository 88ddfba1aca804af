#include "Startup.h"

#include "MainState.h"
#include "OrderSearchIndex.h"
#include "ServiceAddress.h"
#include "StoreAddress.h"
#include "StoreBackup.h"

#include <QDir>
#include <QFileInfo>

namespace mldd {

QStringList installedTemplateNames(const DataFolder& folder) {
    QStringList names;
    const QDir delivery(folder.file(QStringLiteral("Delivery")));
    for (const QFileInfo& file :
         delivery.entryInfoList({QStringLiteral("*.mlg")}, QDir::Files, QDir::Name))
        names.append(file.completeBaseName());
    return names;
}

std::optional<Notice> screenTooNarrow(int screenWidthPixels) {
    constexpr int kLeastWidth = 1024;
    if (screenWidthPixels >= kLeastWidth)
        return std::nullopt;
    return Notice{QStringLiteral("显示器分辩率宽度低于1024，软件不能运行！"),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::Ok};
}

StartupResult startUp(MainState& state, const QString& commandText, const StartupHooks& hooks) {
    StartupResult result;
    QString message;
    const bool existed = QFileInfo::exists(state.folder.dataPath());
    if (!state.folder.ensureExists(&message)) {
        result.failure = Notice{message, QStringLiteral("墨岚打单"), Notice::Icon::Critical};
        return result;
    }
    result.createdDataFolder = !existed;

    state.serviceBase = ServiceAddress::read(state.folder, state.log);
    state.updateNotice = UpdateNotice::load(state.folder, state.log);

    StoreFailure failure;
    const StoreAddress store = StoreAddress::chosen(state.folder, state.databaseOption, state.log);
    state.database = OrderDatabase::open(store, &message, &failure);
    if (!state.database) {
        result.failure = Notice{message, QStringLiteral("墨岚打单"), Notice::Icon::Critical};
        result.storeAddressOffer = store.isServer();
        if (failure.kind == StoreFailure::Kind::Corrupt) {
            result.restoreOffer = StoreBackup(state.folder).latest();
            if (!result.restoreOffer)
                result.failure->text += QStringLiteral("\r\n数据文件夹里没有可以恢复的备份。");
        }
        return result;
    }
    // Orders the search index lacks (an older store, orders another program wrote)
    // go in before the first list; a store that is busy is searched as it is.
    OrderSearchIndex::bringUpToDate(*state.database, hooks.searchIndexProgress);
    QSqlDatabase db = state.database->connection();

    state.settings = PrintSettings::load(db, state.log);
    state.options = ProgramOptions::fromText(state.settings.softSet);
    state.menu = MenuVisibility::fromText(state.settings.menuSet);
    state.printDefaults = PrintDefaults::load(state.folder, state.log);

    state.profiles = SenderProfile::loadAll(db, state.log, hooks.defaultShippingDesign);
    state.couriers = loadCourierNames(db, state.log);
    state.templates = installedTemplateNames(state.folder);

    const QString command = cutBefore(commandText, u'!');
    if (command.isEmpty()) {
        state.displayMode = MainState::DisplayMode::Waybill;
        state.filter = OrderFilter::initial();
        state.currentPage = 1;
        state.requery();
    } else {
        result.command = handleCommandText(state, command, CommandSource::StartUp);
    }

    if (hooks.loadPlaceTable)
        hooks.loadPlaceTable(state);
    if (hooks.loadFavourites)
        hooks.loadFavourites(state);
    state.importOptions = ImportOptions::load(state.folder, state.log);

    result.ok = true;
    return result;
}

} // namespace mldd
