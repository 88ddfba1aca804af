#pragma once

#include "CourierFilterList.h"
#include "OrderPagesDrawer.h"
#include "core/Notice.h"
#include "printing/PrintFile.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QTabBar;

namespace mldd {

struct MainState;
class LargePreview;
class OrderRowWidget;
class PrintProgressLine;

/** The order list: filters and search, the mode tabs, ten order cards, paging and the print line.
 */
class OrderListPanel : public QWidget {
    Q_OBJECT

public:
    explicit OrderListPanel(MainState& state, QWidget* parent = nullptr);

    /** Fills the cards and the information line from the current page. */
    void showPage();
    /** Shows the library's message, if any, and the page; true when there was none. */
    bool showResult(const std::optional<Notice>& notice);
    /** The filter lists show the choices the state holds (a capture or an import changed them). */
    void showChoices();
    /** Fills the sender filter list and the cards' sender lists from the profiles. */
    void showSenders();
    /** Fills the courier filter again (templates changed) and redraws the cards. */
    void showCourierChoices();
    /** Draws the cards' pages again with what the settings, senders or paper now say. */
    void redrawPages();
    /** Saves what the seller changed in a card before a command acts on the orders. */
    void commitRowEdits();
    /** Shows a print file's records, ten to a page, in place of the stored orders. */
    void showPrintFile(const PrintFile& file);
    bool showsPrintFile() const { return m_printFile.has_value(); }

    void applyFilter();
    void search();
    void nextPage();
    void previousPage();
    void selectAllOrNone();

    OrderPagesDrawer& drawer() { return m_drawer; }

    QLabel* informationLine() const { return m_informationLine; }
    QComboBox* senderFilterList() const { return m_senderList; }
    QComboBox* courierList() const { return m_courierList; }
    QComboBox* printStateList() const { return m_stateList; }
    QComboBox* searchFieldList() const { return m_searchField; }
    QLineEdit* searchKey() const { return m_searchKey; }
    QWidget* filterButton() const { return m_filterButton; }
    QWidget* searchButton() const { return m_searchButton; }
    QTabBar* modeTabs() const { return m_modeTabs; }
    QScrollArea* rowArea() const { return m_rowArea; }
    const QList<OrderRowWidget*>& rows() const { return m_rows; }
    QWidget* nextPageButton() const { return m_nextPage; }
    QWidget* previousPageButton() const { return m_previousPage; }
    PrintProgressLine* printProgressLine() const { return m_printLine; }
    /** The pointed card's pages, large beside the list when the window is wide enough. */
    LargePreview* largePreview() const { return m_large; }

    /** The narrowest list that has room for the large preview beside its cards. */
    static constexpr int kWideEnough = 1400;

protected:
    void resizeEvent(QResizeEvent* event) override;

signals:
    /** A page was shown: orders may have come or gone. */
    void pageShown();
    /** The courier templates the page's waybills are drawn on: a missing one is fetched. */
    void formsShown(const QStringList& forms);

private:
    QWidget* createFilterBar();
    QWidget* createRowArea();
    QWidget* createPagingBar();
    /** Moves the print file's list by `step` pages; false when the list shows stored orders. */
    bool turnPrintFilePage(int step);
    /** The large preview follows the page: the order it shows, or the page's first. */
    void showLargePreview(const QList<Order>& orders);
    void switchMode(int tab);
    /** Counts the list on past the shown page when its count waits, and shows the new total. */
    void countOn();

    MainState& m_state;
    OrderPagesDrawer m_drawer;
    /** A print file's records, while the list shows them in place of the stored orders. */
    std::optional<PrintFile> m_printFile;
    int m_printFilePage = 1;
    QComboBox* m_senderList = nullptr;
    CourierFilterList* m_courierList = nullptr;
    QComboBox* m_stateList = nullptr;
    QComboBox* m_searchField = nullptr;
    QLineEdit* m_searchKey = nullptr;
    QWidget* m_filterButton = nullptr;
    QWidget* m_searchButton = nullptr;
    QTabBar* m_modeTabs = nullptr;
    QScrollArea* m_rowArea = nullptr;
    QList<OrderRowWidget*> m_rows;
    QLabel* m_informationLine = nullptr;
    QWidget* m_nextPage = nullptr;
    QWidget* m_previousPage = nullptr;
    PrintProgressLine* m_printLine = nullptr;
    LargePreview* m_large = nullptr;
};

} // namespace mldd
