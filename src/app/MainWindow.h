#pragma once

#include "capture/RepeatedPage.h"
#include "core/CommandText.h"
#include "printing/PrintDocuments.h"
#include "printing/PrintFile.h"
#include "waybill/PageModel.h"
#include "workbench/OrderMarks.h"

#include <QMainWindow>

class QComboBox;
class QStackedWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class QTabBar;
class QToolBar;

namespace mldd {

struct MainState;
class BrowserPanel;
class DailyStoreCheck;
class ImportProgress;
class OrderRowWidget;
class ShippingLists;
class WaybillPages;
struct PageCaptureResult;
class PrintProgressLine;
class PrintRun;
class Spooler;

/** The main window: the toolbar, the filters and search, ten order rows and paging. */
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
    /** The spreadsheet import while it runs, for the window tests. */
    ImportProgress* importProgress() const { return m_import.get(); }

    // The controls, for the window tests.
    QLabel* informationLine() const { return m_informationLine; }
    QLabel* statusLine() const { return m_status; }
    QComboBox* printStateList() const { return m_stateList; }
    QComboBox* searchFieldList() const { return m_searchField; }
    QLineEdit* searchKey() const { return m_searchKey; }
    const QList<OrderRowWidget*>& rows() const { return m_rows; }
    QAction* menuAction(MenuEntry entry) const { return m_actions.value(entry); }
    QMenu* menu(Menu which) const { return m_menus.value(which); }
    QWidget* nextPageButton() const { return m_nextPage; }
    QWidget* previousPageButton() const { return m_previousPage; }
    QWidget* filterButton() const { return m_filterButton; }
    QWidget* searchButton() const { return m_searchButton; }
    QTabBar* modeTabs() const { return m_modeTabs; }
    QScrollArea* rowArea() const { return m_rowArea; }
    QComboBox* senderFilterList() const { return m_senderList; }

    /** The captions of the twelve menu-visibility entries, in the setting's order. */
    QStringList menuEntryCaptions() const;
    QComboBox* courierList() const { return m_courierList; }
    PrintProgressLine* printProgressLine() const { return m_printLine; }
    /** The run printing now, if any. */
    PrintRun* printRun() const { return m_run.get(); }
    /** The built-in browser, once it was opened. */
    BrowserPanel* browserPanel() const { return m_browser; }

protected:
    /** No right-button menu on the toolbar: unticking it there would lose it for the session. */
    QMenu* createPopupMenu() override { return nullptr; }

private:
    /** Adds an entry of the menu-visibility setting to a menu and to the toolbar. */
    QAction* addMenuEntry(Menu menu, MenuEntry entry, const QString& text,
                          void (MainWindow::*handler)());
    QWidget* createFilterBar();
    QWidget* createRowArea();
    QWidget* createPagingBar();

    void applyFilter();
    void search();
    void nextPage();
    /** Moves the print file's list by `step` pages; false when the list shows stored orders. */
    bool turnPrintFilePage(int step);
    void previousPage();
    void switchMode(int tab);
    void mergeSelected();
    void selectAllOrNone();
    void editExpressPlan();
    void deleteOld();
    void importSpreadsheet();
    void writeBackSpreadsheet();
    /** After a waybill run: offers to write the tracking numbers back into the orders' workbooks.
     */
    void offerWriteBack(const QList<qint64>& printedIds);
    /** Writes one workbook back and tells the seller how it went. */
    void writeBack(const QString& path);
    void printWaybills() { startPrint(PrintDocuments::Kind::Waybills); }
    void printLists() { startPrint(PrintDocuments::Kind::ShippingLists); }
    /** Prints the ticked orders, else the whole list, one order at a time. */
    void startPrint(PrintDocuments::Kind kind);
    /** Prints the records of a print file (.mlk, .mlf); nothing is marked. */
    void printFile(const QString& path);
    /** Starts the run and shows its progress; tells why when it does not start. */
    void follow(std::unique_ptr<PrintRun> run, PrintDocuments::Kind kind);
    void printFinished(PrintDocuments::Kind kind);
    void toggleMark(qint64 id, OrderMarks::Mark mark);
    void split(qint64 id);
    void confirm(qint64 id);
    void deleteOne(qint64 id);
    void saveEdited(const Order& order);
    void changeSender(qint64 id, const QString& senderId);

    void manualEntry();
    void editSenders();
    void editShippingDesign();
    void selfServiceDecodeFile();
    void refreshDecodeFile();
    void repairDecodeFiles();
    void checkDecodeFiles();
    void clearSellerBindings();
    void editMenuSettings();
    /** 清空已提取记录: one shop's captured numbers (or all), after a question. */
    void clearCapturedNumbers();
    /** Adds the 设置 entries of the sender, design, decode-file and menu settings. */
    void addSettingsEntries();
    /** Fills the sender filter list and the cards' sender lists from the profiles. */
    void showSenders();
    /** A profile or its design was saved: the lists and every page show it. */
    void sendersChanged();
    /** Saves what the seller changed in a card before a menu command acts on the orders. */
    void commitRowEdits();
    /**
     * With no sender profile yet: asks the first-use question and, on Yes, opens
     * the sender editor (with `presetId` as the new ID). True when a profile exists after.
     */
    bool ensureSender(const QString& presetId = QString());

    /** 提取订单: the built-in browser, once a sender exists to ship the captured orders. */
    void showBrowser();
    void openTemplateBoard();
    void installContextMenu();
    /** (Re)makes the waybill and shipping-list drawers: settings, senders or paper changed. */
    void makeDrawers();
    /** Draws the cards' pages again with what the settings, senders or paper now say. */
    void redrawPages();
    /** An order's pages as the list's mode shows them, or why there are none. */
    struct OrderPages {
        QList<PageModel> pages;
        std::optional<Notice> why;
    };
    OrderPages pagesOf(const Order& order);
    /** A click on a card's page: the pages large, or the missing template fetched. */
    void previewLarger(qint64 id);
    void editPrintSettings();
    void editPrinters();
    /** 快递单打印偏移调整 on a card's waybill: after a print, on the waybill printer. */
    void adjustOffsets(qint64 id);
    /** The card's template is missing: download it from the board, as its message promised. */
    void downloadMissingTemplate(qint64 id);
    /** Downloads the orders' templates that are not installed, each after its notice. */
    void downloadMissingTemplates(const QList<Order>& orders);
    /** Fills the courier filter again after templates were downloaded. */
    void showCourierChoices();
    /** Opens the template designer on `name`, its boxes filled from `order` when given. */
    void openDesigner(const QString& name, const std::optional<Order>& order);

    /** Captures an order page and shows what came of it. */
    void capture(const QString& address, const QString& pageText);
    /** Asks which sender profile an unknown seller id ships with; true when one was bound. */
    bool bindSeller(const PageCaptureResult& result);

    /** Shows the library's message, if any, and the page; true when there was none. */
    bool showResult(const std::optional<Notice>& notice);

    MainState& m_state;
    std::unique_ptr<WaybillPages> m_waybills;
    std::unique_ptr<ShippingLists> m_shippingLists;
    std::unique_ptr<Spooler> m_spooler;
    std::unique_ptr<PrintRun> m_run;
    /** The spreadsheet import running behind its progress dialog. */
    std::unique_ptr<ImportProgress> m_import;
    DailyStoreCheck* m_dailyCheck = nullptr;
    /** A print file's records, while the list shows them in place of the stored orders. */
    std::optional<PrintFile> m_printFile;
    int m_printFilePage = 1;
    PrintProgressLine* m_printLine = nullptr;
    QStackedWidget* m_pages = nullptr;
    BrowserPanel* m_browser = nullptr;
    QToolBar* m_toolbar = nullptr;
    QMap<Menu, QMenu*> m_menus;
    QMap<MenuEntry, QAction*> m_actions;
    QComboBox* m_senderList = nullptr;
    QComboBox* m_courierList = nullptr;
    QComboBox* m_stateList = nullptr;
    QComboBox* m_searchField = nullptr;
    QLineEdit* m_searchKey = nullptr;
    QWidget* m_filterButton = nullptr;
    QWidget* m_searchButton = nullptr;
    QTabBar* m_modeTabs = nullptr;
    QScrollArea* m_rowArea = nullptr;
    /** The last page handed over for capture: the self-service decode file starts from it. */
    RepeatedPage m_repeatedPage;
    QString m_lastAddress;
    QString m_lastPageText;
    QList<OrderRowWidget*> m_rows;
    QLabel* m_informationLine = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_nextPage = nullptr;
    QWidget* m_previousPage = nullptr;
};

} // namespace mldd
