#include "OrderListPanel.h"

#include "LargePreview.h"
#include "NoticeBox.h"
#include "OrderRowWidget.h"
#include "PagedPreview.h"
#include "PrintProgressLine.h"

#include "capture/OrderPlacement.h"
#include "core/MainState.h"
#include "core/OrderFilter.h"
#include "workbench/OrderListing.h"
#include "workbench/OrderSearch.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

namespace mldd {

OrderListPanel::OrderListPanel(MainState& state, QWidget* parent)
    : QWidget(parent), m_state(state), m_drawer(state) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(createFilterBar());
    m_modeTabs = new QTabBar(this);
    m_modeTabs->addTab(QStringLiteral("快递单"));
    m_modeTabs->addTab(QStringLiteral("发货单"));
    // Switched by a click, the keys or an assistive tool alike.
    connect(m_modeTabs, &QTabBar::currentChanged, this, &OrderListPanel::switchMode);
    layout->addWidget(m_modeTabs);
    auto* list = new QHBoxLayout;
    list->addWidget(createRowArea(), 1);
    m_large = new LargePreview(m_drawer, this);
    m_large->hide();
    list->addWidget(m_large);
    layout->addLayout(list, 1);
    layout->addWidget(createPagingBar());
    m_printLine = new PrintProgressLine(this);
    layout->addWidget(m_printLine);
}

QWidget* OrderListPanel::createFilterBar() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);

    m_senderList = new QComboBox(bar);
    m_courierList = new CourierFilterList(m_state, bar);
    m_stateList = new QComboBox(bar);
    m_stateList->addItems(OrderFilter::printStates());
    m_stateList->setCurrentText(m_state.printStateChoice);
    auto* filter = new QPushButton(QStringLiteral("筛选"), bar);
    auto* reset = new QPushButton(QStringLiteral("显示全部"), bar);
    m_filterButton = filter;
    connect(filter, &QPushButton::clicked, this, &OrderListPanel::applyFilter);
    connect(reset, &QPushButton::clicked, this, [this] {
        m_printFile.reset();
        OrderListing::applyFilter(m_state, true);
        showChoices();
        m_courierList->setCurrentText(m_state.courierChoice);
        showPage();
    });

    m_searchField = new QComboBox(bar);
    for (const OrderSearch::Field& field : OrderSearch::fields())
        m_searchField->addItem(field.caption);
    m_searchKey = new QLineEdit(bar);
    m_searchKey->setPlaceholderText(QStringLiteral("搜索内容"));
    auto* searchButton = new QPushButton(QStringLiteral("搜索"), bar);
    m_searchButton = searchButton;
    connect(searchButton, &QPushButton::clicked, this, &OrderListPanel::search);
    connect(m_searchKey, &QLineEdit::returnPressed, this, &OrderListPanel::search);

    for (auto [caption, list] :
         {std::pair{QStringLiteral("我的ID"), m_senderList},
          std::pair<QString, QComboBox*>{QStringLiteral("快递单据"), m_courierList},
          std::pair{QStringLiteral("打印状态"), m_stateList}}) {
        auto* label = new QLabel(caption, bar);
        label->setBuddy(list);
        layout->addWidget(label);
        layout->addWidget(list);
    }
    m_searchField->setAccessibleName(QStringLiteral("搜索项目"));
    m_searchKey->setAccessibleName(QStringLiteral("搜索内容"));
    layout->addWidget(filter);
    layout->addWidget(reset);
    layout->addStretch();
    layout->addWidget(m_searchField);
    layout->addWidget(m_searchKey);
    layout->addWidget(searchButton);
    return bar;
}

QWidget* OrderListPanel::createRowArea() {
    auto* area = new QScrollArea(this);
    m_rowArea = area;
    auto* rows = new QWidget(area);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    for (int i = 0; i < OrderCursor::kPageSize; ++i) {
        auto* row = new OrderRowWidget(m_state.folder, m_state.placeTable, rows);
        connect(row, &OrderRowWidget::selectionToggled, this,
                [this](qint64 id, bool ticked) { m_state.selection.toggle(id, ticked); });
        connect(row, &OrderRowWidget::addressRecognized, this, [this, row](Order order) {
            // As manual entry's 识别省市县: the place and courier follow the new address.
            PlaceOrderAgain(m_state, order);
            row->showPlace(order);
        });
        connect(row, &OrderRowWidget::pointedAt, this, [this, row] {
            if (m_large->isVisible() && row->orderId() != m_large->orderId())
                m_large->showOrder(row->order());
        });
        // A new default contents name prints on every order of the sender that has none.
        connect(row, &OrderRowWidget::contentsNamesSaved, this, &OrderListPanel::showPage);
        layout->addWidget(row);
        m_rows.append(row);
    }
    layout->addStretch();
    area->setWidget(rows);
    area->setWidgetResizable(true);
    return area;
}

QWidget* OrderListPanel::createPagingBar() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_informationLine = new QLabel(bar);
    auto* previous = new QPushButton(QStringLiteral("上一页"), bar);
    auto* next = new QPushButton(QStringLiteral("下一页"), bar);
    m_previousPage = previous;
    m_nextPage = next;
    connect(previous, &QPushButton::clicked, this, &OrderListPanel::previousPage);
    connect(next, &QPushButton::clicked, this, &OrderListPanel::nextPage);
    layout->addWidget(m_informationLine, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    return bar;
}

void OrderListPanel::showPage() {
    const QList<Order> orders =
        m_printFile ? m_printFile->page(m_printFilePage) : OrderListing::currentRows(m_state);
    const bool lists = m_state.displayMode == MainState::DisplayMode::ShippingList;
    QStringList forms;
    for (int i = 0; i < m_rows.size(); ++i) {
        OrderRowWidget* row = m_rows.at(i);
        row->setVisible(i < orders.size());
        if (i >= orders.size())
            continue;
        row->showOrder(orders.at(i), m_state.selection.contains(orders.at(i).id));
        if (!lists)
            forms.append(orders.at(i).delivery);
        auto [pages, why] = m_drawer.pagesOf(orders.at(i));
        row->pagedPreview()->setPagingShown(lists);
        row->pagedPreview()->showPages(std::move(pages), why ? why->text : QString());
    }
    if (m_large->isVisible())
        showLargePreview(orders);
    m_informationLine->setText(
        m_printFile ? OrderFilter::informationLine(
                          QStringLiteral("打印文件 %1 的记录").arg(m_printFile->baseName),
                          m_printFile->records.size(), m_printFile->pageCount(), m_printFilePage)
                    : m_state.informationLine());
    emit pageShown();
    if (!forms.isEmpty())
        emit formsShown(forms);
}

void OrderListPanel::showLargePreview(const QList<Order>& orders) {
    // The order shown stays when it is still on the page, drawn anew; else the page's first.
    const auto shown = std::find_if(orders.begin(), orders.end(), [this](const Order& order) {
        return order.id == m_large->orderId();
    });
    if (shown != orders.end())
        m_large->showOrder(*shown);
    else if (!orders.isEmpty())
        m_large->showOrder(orders.first());
}

void OrderListPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const bool wide = width() >= kWideEnough;
    m_large->setFixedWidth(width() * 2 / 5);
    if (wide == m_large->isVisible())
        return;
    m_large->setVisible(wide);
    if (wide)
        showPage();
}

bool OrderListPanel::showResult(const std::optional<Notice>& notice) {
    showPage();
    if (notice)
        showNotice(this, *notice);
    return !notice;
}

void OrderListPanel::showChoices() {
    m_senderList->setCurrentText(m_state.senderChoice);
    m_stateList->setCurrentText(m_state.printStateChoice);
}

void OrderListPanel::showSenders() {
    QStringList senders;
    for (const SenderProfile& profile : m_state.profiles)
        senders.append(profile.myIdh);
    {
        QSignalBlocker block(m_senderList);
        m_senderList->clear();
        m_senderList->addItem(OrderFilter::kAll);
        m_senderList->addItems(senders);
        m_senderList->setCurrentText(m_state.senderChoice);
    }
    for (OrderRowWidget* row : m_rows)
        row->setSenders(senders);
}

void OrderListPanel::showCourierChoices() {
    m_courierList->refill();
    redrawPages();
}

void OrderListPanel::redrawPages() {
    m_drawer.remake();
    showPage();
}

void OrderListPanel::commitRowEdits() {
    for (OrderRowWidget* row : m_rows)
        if (row->isVisible())
            row->commitEdits();
}

void OrderListPanel::showPrintFile(const PrintFile& file) {
    m_printFile = file;
    m_printFilePage = 1;
    showPage();
}

bool OrderListPanel::turnPrintFilePage(int step) {
    if (!m_printFile)
        return false;
    m_printFilePage = std::clamp(m_printFilePage + step, 1, std::max(1, m_printFile->pageCount()));
    showPage();
    m_rowArea->verticalScrollBar()->setValue(0);
    return true;
}

void OrderListPanel::applyFilter() {
    m_state.senderChoice = m_senderList->currentText();
    m_state.courierChoice = m_courierList->currentText();
    m_state.printStateChoice = m_stateList->currentText();
    m_printFile.reset(); // the list shows stored orders again
    OrderListing::applyFilter(m_state);
    showPage();
}

void OrderListPanel::search() {
    showResult(OrderSearch::search(m_state, m_searchField->currentText(), m_searchKey->text()));
    // The results' first page is shown before they are counted: a timer, not a queued
    // call, so that the page's paint, posted at a low priority, comes first.
    if (m_state.cursor.countWaits())
        QTimer::singleShot(1, this, &OrderListPanel::countOn);
}

void OrderListPanel::countOn() {
    // A page turned meanwhile may have counted already; a print file's list has no count.
    if (m_printFile || !m_state.cursor.countWaits())
        return;
    m_state.cursor.countAhead(m_state.currentPage);
    m_informationLine->setText(m_state.informationLine());
}

void OrderListPanel::nextPage() {
    if (turnPrintFilePage(1))
        return;
    // A new page is read from its top.
    if (showResult(OrderListing::nextPage(m_state)))
        m_rowArea->verticalScrollBar()->setValue(0);
}

void OrderListPanel::previousPage() {
    if (turnPrintFilePage(-1))
        return;
    if (showResult(OrderListing::previousPage(m_state)))
        m_rowArea->verticalScrollBar()->setValue(0);
}

void OrderListPanel::switchMode(int tab) {
    if (tab < 0)
        return;
    OrderListing::switchDisplayMode(m_state, tab == 0 ? MainState::DisplayMode::Waybill
                                                      : MainState::DisplayMode::ShippingList);
    m_stateList->setCurrentText(m_state.printStateChoice);
    showPage();
}

void OrderListPanel::selectAllOrNone() {
    OrderListing::selectAllOrNone(m_state);
    showPage();
}

} // namespace mldd
