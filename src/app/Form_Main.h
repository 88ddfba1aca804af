#pragma once

#include "core/CommandText.h"
#include "workbench/OrderMarks.h"

#include <QMainWindow>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabBar;
class QToolBar;

namespace mldd {

struct MainState;
class OrderRowWidget;
class WaybillPages;
struct PageCaptureResult;

/** The main window: the toolbar, the filters and search, ten order rows and paging. */
class Form_Main : public QMainWindow {
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

    explicit Form_Main(MainState& state, QWidget* parent = nullptr);
    ~Form_Main() override;

    /** Fills the rows and the information line from the current page. */
    void showPage();

    /** Acts on a command text: the start-up one, or one handed over later. */
    void handleCommand(const CommandAction& action);

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

protected:
    /** No right-button menu on the toolbar: unticking it there would lose it for the session. */
    QMenu* createPopupMenu() override { return nullptr; }

private:
    /** Adds an entry of the menu-visibility setting to a menu and to the toolbar. */
    QAction* addMenuEntry(Menu menu, MenuEntry entry, const QString& text,
                          void (Form_Main::*handler)());
    QWidget* createFilterBar();
    QWidget* createRowArea();
    QWidget* createPagingBar();

    void applyFilter();
    void search();
    void nextPage();
    void previousPage();
    void switchMode(int tab);
    void mergeSelected();
    void selectAllOrNone();
    void editExpressPlan();
    void deleteOld();
    void importSpreadsheet();
    void writeBackSpreadsheet();
    void toggleMark(qint64 id, OrderMarks::Mark mark);
    void split(qint64 id);
    void confirm(qint64 id);
    void deleteOne(qint64 id);
    void saveEdited(const Order& order);

    /** Captures an order page and shows what came of it. */
    void capture(const QString& address, const QString& pageText);
    /** Asks which sender profile an unknown seller id ships with; true when one was bound. */
    bool bindSeller(const PageCaptureResult& result);

    /** Shows the library's message, if any, and the page; true when there was none. */
    bool showResult(const std::optional<Notice>& notice);

    MainState& m_state;
    std::unique_ptr<WaybillPages> m_waybills;
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
    QList<OrderRowWidget*> m_rows;
    QLabel* m_informationLine = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_nextPage = nullptr;
    QWidget* m_previousPage = nullptr;
};

} // namespace mldd
