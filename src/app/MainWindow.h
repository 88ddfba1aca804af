#pragma once

#include "core/CommandText.h"

#include <QMainWindow>
#include <QMap>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QStackedWidget;
class QTabBar;
class QToolBar;
class QVBoxLayout;

namespace mldd {

struct MainState;
class BrowserPanel;
class CaptureCommands;
class DailyStoreCheck;
class FirstStartChecklist;
class ImportProgress;
class OrderCommands;
class OrderListPanel;
class OrderRowWidget;
class PrintCommands;
class PrintProgressLine;
class PrintRun;
class SenderSetup;
class SettingsCommands;
class SpreadsheetCommands;

/** The main window: the menus and toolbar, the order list and the browser, wired to the commands.
 */
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    /** The toolbar entries, in the order of the menu-visibility setting. */
    enum MenuEntry {
        Capture,
        ManualEntry,
        Import,
        PrintWaybills,
        PrintLists,
        PrintSettings,
        Merge,
        SelectAll,
        ExpressPlan,
        Senders,
        Browser,
        DeleteOld,
    };

    /** The menus of the menu bar. */
    enum class Menu { Orders, Printing, Settings };

    explicit MainWindow(MainState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    /** Fills the rows and the information line from the current page. */
    void showPage();

    /**
     * Acts on a command text: the start-up one, or one handed over later. A page
     * is captured with `pageText`, or with the clipboard's text when that is empty;
     * `now`: before this returns (a handed-over one), else once the window is up.
     */
    void handleCommand(const CommandAction& action, const QString& pageText = {}, bool now = false);
    /** A command handed over by mldd or mldd-do while the window runs. */
    void acceptRequest(const QString& commandText, const QString& pageText);

    /** Shows the built-in browser in place of the order list, at `address` when given. */
    void openBrowser(const QString& address = {});

    /** The store's daily check, for the window tests. */
    DailyStoreCheck* dailyCheck() const { return m_dailyCheck; }
    /** The 设置 menu's backup entry, captioned with the latest backup. */
    QAction* backupEntry() const { return m_backupEntry; }
    /** The spreadsheet import while it runs, for the window tests. */
    ImportProgress* importProgress() const;

    // The controls, for the window tests.
    OrderListPanel* orderList() const { return m_list; }
    QLabel* informationLine() const;
    QLabel* statusLine() const { return m_status; }
    QComboBox* printStateList() const;
    QComboBox* searchFieldList() const;
    QLineEdit* searchKey() const;
    const QList<OrderRowWidget*>& rows() const;
    QAction* menuAction(MenuEntry entry) const { return m_actions.value(entry); }
    QMenu* menu(Menu which) const { return m_menus.value(which); }
    QWidget* nextPageButton() const;
    QWidget* previousPageButton() const;
    QWidget* filterButton() const;
    QWidget* searchButton() const;
    QTabBar* modeTabs() const;
    QScrollArea* rowArea() const;
    QComboBox* senderFilterList() const;
    QComboBox* courierList() const;
    PrintProgressLine* printProgressLine() const;

    /** The captions of the twelve menu-visibility entries, in the setting's order. */
    QStringList menuEntryCaptions() const;
    /** The run printing now, if any. */
    PrintRun* printRun() const;
    /** The built-in browser, once it was opened. */
    BrowserPanel* browserPanel() const { return m_browser; }
    /** A new seller's steps while they are shown; null once they were done. */
    FirstStartChecklist* firstStartChecklist() const { return m_checklist; }

protected:
    /** No right-button menu on the toolbar: unticking it there would lose it for the session. */
    QMenu* createPopupMenu() override { return nullptr; }
    /** Coming back to the window (from the browser, a dialog): the steps are ticked anew. */
    void changeEvent(QEvent* event) override;
    /** A workbook dragged over the window may be dropped: it imports as 导入Excel does. */
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    /** Adds an entry of the menu-visibility setting to a menu and to the toolbar. */
    QAction* addMenuEntry(Menu menu, MenuEntry entry, const QString& text,
                          std::function<void()> handler);
    void addMenus();
    /** Connects each order card to the commands that act on its order. */
    void wireRows();
    void editMenuSettings();
    /** Captions the backup entry with the latest backup, or with the one being made. */
    void showLatestBackup();
    /** 提取订单: the built-in browser, once a sender exists to ship the captured orders. */
    void showBrowser();
    /** Shows a new seller's steps above the list while any is open. */
    void addFirstStartChecklist(QVBoxLayout* layout);
    /** Ticks the steps done; once all are, records it and takes the steps away for good. */
    void showFirstStartSteps();

    MainState& m_state;
    OrderListPanel* m_list = nullptr;
    QLabel* m_status = nullptr;
    SenderSetup* m_senders = nullptr;
    CaptureCommands* m_capture = nullptr;
    SettingsCommands* m_settings = nullptr;
    OrderCommands* m_orders = nullptr;
    SpreadsheetCommands* m_spreadsheets = nullptr;
    PrintCommands* m_printing = nullptr;
    DailyStoreCheck* m_dailyCheck = nullptr;
    QAction* m_backupEntry = nullptr;
    QStackedWidget* m_pages = nullptr;
    BrowserPanel* m_browser = nullptr;
    FirstStartChecklist* m_checklist = nullptr;
    QToolBar* m_toolbar = nullptr;
    QMap<Menu, QMenu*> m_menus;
    QMap<MenuEntry, QAction*> m_actions;
};

} // namespace mldd
