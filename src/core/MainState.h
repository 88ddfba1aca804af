#pragma once

#include "DataFolder.h"
#include "ErrorLog.h"
#include "ImportOptions.h"
#include "Notice.h"
#include "OrderCursor.h"
#include "OrderDatabase.h"
#include "OrderFilter.h"
#include "PrintDefaults.h"
#include "PrintSettings.h"
#include "ProgramOptions.h"
#include "Selection.h"
#include "SenderProfile.h"
#include "UpdateNotice.h"

#include <QSet>

#include <memory>
#include <optional>

namespace mldd {

struct PlaceTable;

/**
 * Everything the program keeps while it runs: the data folder, the database
 * with the list's cursor, the settings, profiles and couriers, the filter and
 * page. Owned by the main window (or a command of mldd-cli) and passed by
 * reference to whatever needs it.
 */
struct MainState {
    enum class DisplayMode { Waybill, ShippingList };

    /** `database` is the --database option: a postgresql:// address, or empty for the default. */
    explicit MainState(DataFolder dataFolder, QString database = {})
        : folder(std::move(dataFolder)), databaseOption(std::move(database)),
          log(folder.errorLogPath()) {}

    DataFolder folder;
    QString databaseOption;
    ErrorLog log;
    QString serviceBase;
    UpdateNotice updateNotice;

    std::unique_ptr<OrderDatabase> database;
    PrintSettings settings;
    ProgramOptions options;
    MenuVisibility menu;
    PrintDefaults printDefaults;
    ImportOptions importOptions;
    QList<SenderProfile> profiles;
    QStringList couriers;
    /** The installed waybill templates: the names of the .mlg files in Data/Delivery. */
    QStringList templates;
    /**
     * Missing templates already asked of the service while the program runs: orders
     * on a form the service cannot give ask once, not at every run.
     */
    QSet<QString> templatesAsked;
    /** The place-name table; the address layer loads it through the start-up hooks. */
    std::shared_ptr<const PlaceTable> placeTable;

    /** The texts of the three filter lists: sender ID, courier form, print state. */
    QString senderChoice = OrderFilter::kAll;
    QString courierChoice = OrderFilter::kAll;
    QString printStateChoice = QStringLiteral("快递单未打");
    OrderFilter filter;
    OrderCursor cursor;
    int currentPage = 1;
    Selection selection;
    DisplayMode displayMode = DisplayMode::Waybill;

    /** The page address waiting for the capture timer. */
    QString pendingCapture;

    /**
     * Runs the list query again with the current filter and keeps the page in
     * range; counted at once, or with Counting::Later only past the page until
     * cursor.countAhead().
     */
    void requery(OrderCursor::Counting counting = OrderCursor::Counting::Now);

    /** The line under the list: caption, record count, page count, current page. */
    QString informationLine() const;

    /** Saves the program options (SoftSet) into the settings row. */
    bool saveOptions();

    /** Stores the edited settings row and uses it from now on; why not, when it could not. */
    std::optional<Notice> saveSettings(const PrintSettings& edited);

    /** Stores and applies the menu-visibility setting (Menu_set); why not, when it could not. */
    std::optional<Notice> saveMenu(const MenuVisibility& shown);
};

} // namespace mldd
