#pragma once

#include "CommandText.h"
#include "DataFolder.h"
#include "Notice.h"

#include <functional>
#include <optional>

namespace mldd {

struct MainState;

/** Loaders of later subsystems that start-up calls at their step; any may be left empty. */
struct StartupHooks {
    std::function<void(MainState&)> loadPlaceTable;
    std::function<void(MainState&)> loadFavourites;
    /** The default shipping-list design, given to profiles that have none. */
    std::function<QString()> defaultShippingDesign;
    /**
     * Told how far the search index's catch-up is (orders done, of total) before
     * each step, when the store holds orders the index lacks; false stops it
     * until the next start.
     */
    std::function<bool(qint64 done, qint64 total)> searchIndexProgress;
};

/** How start-up ended. */
struct StartupResult {
    bool ok = false;
    /** Why start-up stopped, when it did. */
    std::optional<Notice> failure;
    /** What the start-up command text asked for, when there was one. */
    std::optional<CommandAction> command;
    /** The store is damaged and this backup could replace it. */
    std::optional<QString> restoreOffer;
    /** The shared store on a server could not be used: the seller may change its address. */
    bool storeAddressOffer = false;
    /** The data folder did not exist and was made (a mistyped path shows here). */
    bool createdDataFolder = false;
};

/** The names of the waybill templates in the data folder's Delivery folder, sorted. */
QStringList installedTemplateNames(const DataFolder& folder);

/** The message that ends the program on a screen narrower than 1024 pixels. */
std::optional<Notice> screenTooNarrow(int screenWidthPixels);

/**
 * Runs the start-up sequence on `state`: service address, update notice,
 * database with its upgrade and the search index's catch-up, settings row and express plan, print
 * set-up files, profiles, couriers, the first list page or the command text, the loaders of `hooks`
 * and the import options.
 */
StartupResult startUp(MainState& state, const QString& commandText, const StartupHooks& hooks = {});

} // namespace mldd
