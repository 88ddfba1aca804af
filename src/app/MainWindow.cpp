#include "MainWindow.h"

#include "BrowserPanel.h"
#include "DailyStoreCheck.h"
#include "DayShortcuts.h"
#include "DecodeFileCommands.h"
#include "ExpressPlanDialog.h"
#include "FileChooser.h"
#include "TemplateDesigner.h"
#include "ExcelImportDialog.h"
#include "MenuSettingsDialog.h"
#include "SenderProfilesDialog.h"
#include "PrintSettingsDialog.h"
#include "PrinterSetupDialog.h"
#include "ShippingListDesigner.h"
#include "ManualEntryDialog.h"
#include "DecodeFileEditor.h"
#include "HelpKeys.h"
#include "ImportProgress.h"
#include "NoticeBox.h"
#include "OffsetAdjustDialog.h"
#include "OrderRowWidget.h"
#include "PagedPreview.h"
#include "PrintPreviewDialog.h"
#include "PrintProgressLine.h"
#include "TrackingNumberDialog.h"
#include "WaybillPreview.h"

#include "browser/CapturedPage.h"
#include "browser/ContextMenuHost.h"
#include "browser/TemplateDownload.h"
#include "capture/OrderPlacement.h"
#include "capture/PageCapture.h"
#include "capture/SellerBindings.h"
#include "core/CapturedNumbers.h"
#include "core/MainState.h"
#include "core/OrderFilter.h"
#include "core/ProgramVersion.h"
#include "printing/CupsSpooler.h"
#include "printing/OffsetAdjustment.h"
#include "printing/PrintQuestion.h"
#include "printing/PrintRun.h"
#include "printing/PrinterSetup.h"
#include "shiplist/ShippingLists.h"
#include "spreadsheet/ImportRun.h"
#include "spreadsheet/WriteBack.h"
#include "waybill/TemplateFiles.h"
#include "waybill/WaybillPages.h"
#include "workbench/ConfirmationText.h"
#include "workbench/OrderDeletion.h"
#include "workbench/OrderEditing.h"
#include "workbench/OrderListing.h"
#include "workbench/OrderMerge.h"
#include "workbench/OrderSearch.h"
#include "workbench/SenderChoice.h"

#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

namespace mldd {

MainWindow::MainWindow(MainState& state, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_spooler(std::make_unique<CupsSpooler>()) {
    makeDrawers();
    setWindowTitle(QStringLiteral("墨岚打单 V ") + kProgramVersion);

    m_toolbar = addToolBar(QStringLiteral("菜单"));
    m_toolbar->setMovable(false);
    m_menus.insert(Menu::Orders, menuBar()->addMenu(QStringLiteral("订单")));
    m_menus.insert(Menu::Printing, menuBar()->addMenu(QStringLiteral("打印")));
    m_menus.insert(Menu::Settings, menuBar()->addMenu(QStringLiteral("设置")));
    addMenuEntry(Menu::Orders, Capture, QStringLiteral("提取订单"), &MainWindow::showBrowser);
    addMenuEntry(Menu::Orders, ManualEntry, QStringLiteral("手工录入"), &MainWindow::manualEntry);
    addMenuEntry(Menu::Orders, Import, QStringLiteral("导入Excel"), &MainWindow::importSpreadsheet);
    menu(Menu::Orders)
        ->addAction(QStringLiteral("回写Excel"), this, &MainWindow::writeBackSpreadsheet);
    addMenuEntry(Menu::Orders, Merge, QStringLiteral("合并订单"), &MainWindow::mergeSelected);
    addMenuEntry(Menu::Orders, SelectAll, QStringLiteral("全选/取消"), &MainWindow::selectAllOrNone);
    addMenuEntry(Menu::Orders, DeleteOld, QStringLiteral("删除旧订单"), &MainWindow::deleteOld);
    menu(Menu::Orders)->addAction(QStringLiteral("填写运单号"), this, [this] {
        commitRowEdits();
        TrackingNumberDialog(m_state, this).exec();
        m_state.requery();
        showPage();
    });
    addMenuEntry(Menu::Printing, PrintWaybills, QStringLiteral("打印快递单"),
                 &MainWindow::printWaybills);
    addMenuEntry(Menu::Printing, PrintLists, QStringLiteral("打印发货单"), &MainWindow::printLists);
    addMenuEntry(Menu::Printing, PrintSettings, QStringLiteral("打印设置"),
                 &MainWindow::editPrintSettings);
    menu(Menu::Printing)->addAction(QStringLiteral("打印机设置"), this, &MainWindow::editPrinters);
    addMenuEntry(Menu::Settings, ExpressPlan, QStringLiteral("快递方案"),
                 &MainWindow::editExpressPlan);
    addSettingsEntries();
    menu(Menu::Settings)
        ->addAction(QStringLiteral("下载快递模版"), this, &MainWindow::openTemplateBoard);
    menu(Menu::Settings)
        ->addAction(QStringLiteral("建立右键菜单"), this, &MainWindow::installContextMenu);
    menu(Menu::Settings)->addAction(QStringLiteral("模版设计"), this, [this] {
        openDesigner(QString(), std::nullopt);
    });
    // The same pages as F1 in each window: the guide to the seller's day.
    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
    help->addAction(QStringLiteral("使用帮助（F1）"), this, [] {
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(HelpKeys::folderFor(QCoreApplication::applicationDirPath()) +
                                QStringLiteral("/index.html")));
    });
    help->addAction(QStringLiteral("关于墨岚打单"), this, [this] {
        showNotice(this, Notice{QStringLiteral("墨岚打单 V ") + kProgramVersion +
                                QStringLiteral("\r\n网店卖家的快递单和发货单打印软件。")});
    });

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(createFilterBar());
    m_modeTabs = new QTabBar(central);
    m_modeTabs->addTab(QStringLiteral("快递单"));
    m_modeTabs->addTab(QStringLiteral("发货单"));
    connect(m_modeTabs, &QTabBar::tabBarClicked, this, &MainWindow::switchMode);
    layout->addWidget(m_modeTabs);
    layout->addWidget(createRowArea(), 1);
    layout->addWidget(createPagingBar());
    m_printLine = new PrintProgressLine(central);
    layout->addWidget(m_printLine);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(central);
    setCentralWidget(m_pages);

    m_status = new QLabel(this);
    statusBar()->addWidget(m_status, 1);
    resize(1024, 760);
    showSenders();
    showPage();

    // The store's daily check and backup run behind the first page, never before it.
    m_dailyCheck = new DailyStoreCheck(this);
    connect(m_dailyCheck, &DailyStoreCheck::finished, this,
            [this](const std::optional<Notice>& notice) {
                if (notice)
                    showNotice(this, *notice);
            });
    QTimer::singleShot(0, this, [this] { m_dailyCheck->startIfDue(m_state); });
    DayShortcuts::install(*this);
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::addMenuEntry(Menu menu, MenuEntry entry, const QString& text,
                                 void (MainWindow::*handler)()) {
    QAction* action = m_menus.value(menu)->addAction(text, this, [this, handler] {
        commitRowEdits();
        (this->*handler)();
    });
    m_toolbar->addAction(action);
    action->setVisible(m_state.menu.isShown(entry));
    m_actions.insert(entry, action);
    return action;
}

QWidget* MainWindow::createFilterBar() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);

    m_senderList = new QComboBox(bar);
    m_courierList = new QComboBox(bar);
    m_courierList->addItem(OrderFilter::kAll);
    m_courierList->addItems(m_state.couriers);
    m_stateList = new QComboBox(bar);
    m_stateList->addItems(OrderFilter::printStates());
    m_stateList->setCurrentText(m_state.printStateChoice);
    auto* filter = new QPushButton(QStringLiteral("筛选"), bar);
    auto* reset = new QPushButton(QStringLiteral("显示全部"), bar);
    m_filterButton = filter;
    connect(filter, &QPushButton::clicked, this, &MainWindow::applyFilter);
    connect(reset, &QPushButton::clicked, this, [this] {
        m_printFile.reset();
        OrderListing::applyFilter(m_state, true);
        m_senderList->setCurrentText(m_state.senderChoice);
        m_courierList->setCurrentText(m_state.courierChoice);
        m_stateList->setCurrentText(m_state.printStateChoice);
        showPage();
    });

    m_searchField = new QComboBox(bar);
    for (const OrderSearch::Field& field : OrderSearch::fields())
        m_searchField->addItem(field.caption);
    m_searchKey = new QLineEdit(bar);
    m_searchKey->setPlaceholderText(QStringLiteral("搜索内容"));
    auto* searchButton = new QPushButton(QStringLiteral("搜索"), bar);
    m_searchButton = searchButton;
    connect(searchButton, &QPushButton::clicked, this, &MainWindow::search);
    connect(m_searchKey, &QLineEdit::returnPressed, this, &MainWindow::search);

    for (auto [caption, list] : {std::pair{QStringLiteral("我的ID"), m_senderList},
                                 std::pair{QStringLiteral("快递单据"), m_courierList},
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

QWidget* MainWindow::createRowArea() {
    auto* area = new QScrollArea(this);
    m_rowArea = area;
    auto* rows = new QWidget(area);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    for (int i = 0; i < OrderCursor::kPageSize; ++i) {
        auto* row = new OrderRowWidget(m_state.folder, rows);
        connect(row, &OrderRowWidget::selectionToggled, this,
                [this](qint64 id, bool ticked) { m_state.selection.toggle(id, ticked); });
        connect(row, &OrderRowWidget::markClicked, this, &MainWindow::toggleMark);
        connect(row, &OrderRowWidget::splitClicked, this, &MainWindow::split);
        connect(row, &OrderRowWidget::confirmClicked, this, &MainWindow::confirm);
        connect(row, &OrderRowWidget::deleteClicked, this, &MainWindow::deleteOne);
        connect(row, &OrderRowWidget::edited, this, &MainWindow::saveEdited);
        connect(row, &OrderRowWidget::addressRecognized, this, [this, row](Order order) {
            // As manual entry's 识别省市县: the place and courier follow the new address.
            PlaceOrderAgain(m_state, order);
            row->showPlace(order);
        });
        connect(row, &OrderRowWidget::senderChosen, this, &MainWindow::changeSender);
        // A new default contents name prints on every order of the sender that has none.
        connect(row, &OrderRowWidget::contentsNamesSaved, this, &MainWindow::showPage);
        connect(row->preview(), &WaybillPreview::clicked, this,
                [this, row] { previewLarger(row->orderId()); });
        connect(row, &OrderRowWidget::largerPreviewRequested, this, &MainWindow::previewLarger);
        connect(row, &OrderRowWidget::offsetAdjustmentRequested, this, &MainWindow::adjustOffsets);
        connect(row, &OrderRowWidget::templateEditRequested, this, [this](qint64 id) {
            if (const std::optional<Order> order = OrderStore(*m_state.database).byId(id))
                openDesigner(order->delivery, order);
        });
        layout->addWidget(row);
        m_rows.append(row);
    }
    layout->addStretch();
    area->setWidget(rows);
    area->setWidgetResizable(true);
    return area;
}

QWidget* MainWindow::createPagingBar() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_informationLine = new QLabel(bar);
    auto* previous = new QPushButton(QStringLiteral("上一页"), bar);
    auto* next = new QPushButton(QStringLiteral("下一页"), bar);
    m_previousPage = previous;
    m_nextPage = next;
    connect(previous, &QPushButton::clicked, this, &MainWindow::previousPage);
    connect(next, &QPushButton::clicked, this, &MainWindow::nextPage);
    layout->addWidget(m_informationLine, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    return bar;
}

void MainWindow::showPage() {
    const QList<Order> orders =
        m_printFile ? m_printFile->page(m_printFilePage) : OrderListing::currentRows(m_state);
    for (int i = 0; i < m_rows.size(); ++i) {
        OrderRowWidget* row = m_rows.at(i);
        row->setVisible(i < orders.size());
        if (i >= orders.size())
            continue;
        row->showOrder(orders.at(i), m_state.selection.contains(orders.at(i).id));
        const bool lists = m_state.displayMode == MainState::DisplayMode::ShippingList;
        auto [pages, why] = pagesOf(orders.at(i));
        row->pagedPreview()->setPagingShown(lists);
        row->pagedPreview()->showPages(std::move(pages), why ? why->text : QString());
    }
    m_informationLine->setText(
        m_printFile ? OrderFilter::informationLine(
                          QStringLiteral("打印文件 %1 的记录").arg(m_printFile->baseName),
                          m_printFile->records.size(), m_printFile->pageCount(), m_printFilePage)
                    : m_state.informationLine());
}

bool MainWindow::turnPrintFilePage(int step) {
    if (!m_printFile)
        return false;
    m_printFilePage = std::clamp(m_printFilePage + step, 1, std::max(1, m_printFile->pageCount()));
    showPage();
    m_rowArea->verticalScrollBar()->setValue(0);
    return true;
}

bool MainWindow::showResult(const std::optional<Notice>& notice) {
    showPage();
    if (notice)
        showNotice(this, *notice);
    return !notice;
}

void MainWindow::handleCommand(const CommandAction& action, const QString& pageText) {
    if (action.hint) {
        showNotice(this, *action.hint);
        QDesktopServices::openUrl(QUrl(action.helpPage));
    }
    switch (action.kind) {
    case CommandAction::Kind::OpenWaybillFile:
    case CommandAction::Kind::OpenShipListFile:
        m_status->setText(QStringLiteral("打印文件：") + action.text);
        // Printed once the window is up, as the page of a capture is captured.
        QTimer::singleShot(10, this, [this, path = action.text] { printFile(path); });
        break;
    case CommandAction::Kind::Capture:
        // The capture runs once the window is up, with the page text the browser copied.
        QTimer::singleShot(10, this, [this, address = action.text, pageText] {
            capture(address, pageText.isEmpty() ? QGuiApplication::clipboard()->text() : pageText);
        });
        break;
    case CommandAction::Kind::None:
        break;
    }
    showPage();
}

void MainWindow::acceptRequest(const QString& commandText, const QString& pageText) {
    showNormal();
    raise();
    activateWindow();
    handleCommand(handleCommandText(m_state, commandText, CommandSource::Request), pageText);
}

void MainWindow::openBrowser(const QString& address) {
    if (!m_browser) {
        m_browser = new BrowserPanel(m_state, m_pages);
        m_pages->addWidget(m_browser);
        connect(m_browser, &BrowserPanel::pageCaptured, this, &MainWindow::capture);
        connect(m_browser, &BrowserPanel::closeRequested, this,
                [this] { m_pages->setCurrentIndex(0); });
        connect(m_browser, &BrowserPanel::templatesChanged, this, &MainWindow::showCourierChoices);
    }
    // Choosing 提取订单 again while the browser is shown goes back to the orders.
    const bool showing = m_pages->currentWidget() == m_browser;
    m_pages->setCurrentWidget(showing && address.isEmpty() ? m_pages->widget(0) : m_browser);
    if (!address.isEmpty())
        m_browser->open(address);
}

void MainWindow::showBrowser() {
    if (ensureSender())
        openBrowser();
}

void MainWindow::openTemplateBoard() {
    openBrowser(TemplateDownload::boardAddress(m_state.serviceBase));
}

void MainWindow::installContextMenu() {
    const QString programs = QCoreApplication::applicationDirPath();
    showNotice(this, ContextMenuHost::install(m_state.folder, programs + QStringLiteral("/mldd-do"),
                                              programs + QStringLiteral("/extension"))
                         .notice);
}

void MainWindow::makeDrawers() {
    const QDate today = QDate::currentDate();
    m_waybills = std::make_unique<WaybillPages>(m_state.folder, m_state.log, m_state.settings,
                                                m_state.profiles, today);
    m_shippingLists =
        std::make_unique<ShippingLists>(m_state.profiles, m_state.printDefaults.paperRecord, today);
}

MainWindow::OrderPages MainWindow::pagesOf(const Order& order) {
    if (m_state.displayMode == MainState::DisplayMode::ShippingList) {
        ShippingListPages list = m_shippingLists->compose(order);
        // Paper too small: what fitted is shown, and the reason when nothing did.
        return {list.pages, list.stopped};
    }
    std::variant<PageModel, Notice> waybill = m_waybills->page(order);
    if (auto* page = std::get_if<PageModel>(&waybill))
        return {{std::move(*page)}, std::nullopt};
    return {{}, std::get<Notice>(waybill)};
}

void MainWindow::previewLarger(qint64 id) {
    const std::optional<Order> order = OrderStore(*m_state.database).byId(id);
    if (!order)
        return;
    const bool lists = m_state.displayMode == MainState::DisplayMode::ShippingList;
    if (!lists && !TemplateFiles(m_state.folder, order->delivery).exists()) {
        downloadMissingTemplate(id);
        return;
    }
    auto [pages, why] = pagesOf(*order);
    if (pages.isEmpty()) {
        if (why)
            showNotice(this, *why);
        return;
    }
    // Waybills print with the waybill printer's offsets and factor; shipping lists without.
    const PrinterSetup setup(m_state.folder, m_state.log);
    const PrintPlacement placement =
        lists ? PrintPlacement{} : setup.placement(setup.load().waybillPrinter);
    PrintPreviewDialog dialog(order->orderSign, std::move(pages), placement, this);
    dialog.exec();
}

void MainWindow::adjustOffsets(qint64 id) {
    OrderStore store(*m_state.database);
    const std::optional<Order> order = store.byId(id);
    if (!order)
        return;
    QStringList couriers;
    for (const Order& selected : store.byIds(m_state.selection.ids()))
        couriers.append(selected.delivery);
    const PrinterSetup setup(m_state.folder, m_state.log);
    const QString printer = setup.load().waybillPrinter;
    if (const auto refused = OffsetAdjustment::refusal(*order, couriers, printer)) {
        showNotice(this, *refused);
        return;
    }
    std::variant<PageModel, Notice> waybill = m_waybills->page(*order);
    if (auto* missing = std::get_if<Notice>(&waybill)) {
        showNotice(this, *missing);
        return;
    }
    OffsetAdjustDialog dialog(setup, printer, std::get<PageModel>(waybill), this);
    dialog.exec();
}

void MainWindow::editPrinters() {
    PrinterSetupDialog printers(m_state, *m_spooler, this);
    // A new paper changes the shipping lists' pages.
    connect(&printers, &PrinterSetupDialog::saved, this, &MainWindow::redrawPages);
    printers.exec();
}

void MainWindow::editPrintSettings() {
    PrintSettingsDialog settings(m_state, this);
    connect(&settings, &PrintSettingsDialog::saved, this, &MainWindow::redrawPages);
    settings.exec();
}

void MainWindow::downloadMissingTemplate(qint64 id) {
    if (const std::optional<Order> order = OrderStore(*m_state.database).byId(id))
        downloadMissingTemplates({*order});
}

void MainWindow::downloadMissingTemplates(const QList<Order>& orders) {
    QStringList missing;
    for (const Order& order : orders)
        if (!order.delivery.isEmpty() && !missing.contains(order.delivery) &&
            !TemplateFiles(m_state.folder, order.delivery).exists())
            missing.append(order.delivery);
    if (missing.isEmpty())
        return;
    for (const QString& name : missing) {
        showNotice(this, TemplateFiles::missingNotice(name));
        const TemplateDownload::Result result =
            TemplateDownload::downloadById(m_state, name, ServiceClient());
        for (const Notice& notice : result.notices)
            showNotice(this, notice);
    }
    // The cards and the courier filter show the templates as they are now.
    showCourierChoices();
}

void MainWindow::showCourierChoices() {
    const QString chosen = m_courierList->currentText();
    m_courierList->clear();
    m_courierList->addItem(OrderFilter::kAll);
    m_courierList->addItems(m_state.couriers);
    m_courierList->setCurrentText(chosen);
    redrawPages();
}

void MainWindow::redrawPages() {
    makeDrawers();
    showPage();
}

void MainWindow::capture(const QString& address, const QString& pageText) {
    if (const auto refusal = CapturedPage::refuseOversized(pageText)) {
        showNotice(this, *refusal);
        return;
    }
    m_status->setText(QStringLiteral("正在提取：") + address);
    m_lastAddress = address;
    m_lastPageText = pageText;
    PageCaptureResult result = capturePage(m_state, address, pageText, ServiceClient());
    if (result.outcome == PageCaptureResult::Outcome::NeedsBinding) {
        // On a fresh data folder the seller sets up the first sender, then the page is taken again.
        if (m_state.profiles.isEmpty() ? ensureSender(result.count.unboundSeller)
                                       : bindSeller(result))
            capture(address, pageText);
        else
            m_status->setText(QStringLiteral("没有提取：发件人没有设置。"));
        return;
    }
    if (result.question && !showNotice(this, *result.question))
        result.progress.clear();
    for (const Notice& notice : result.notices)
        showNotice(this, notice);
    if (!result.helpPage.isEmpty())
        QDesktopServices::openUrl(QUrl(result.helpPage));
    m_status->setText(result.statusLine());
    m_senderList->setCurrentText(m_state.senderChoice);
    m_stateList->setCurrentText(m_state.printStateChoice);
    showPage();
    // Saving the plan gives the orders just stored their couriers.
    if (result.count.openPlanPanel)
        editExpressPlan();
}

bool MainWindow::bindSeller(const PageCaptureResult& result) {
    const QString newSender = QStringLiteral("新建发件人…");
    QStringList senders;
    for (const SenderProfile& profile : m_state.profiles)
        senders.append(profile.myIdh);
    showNotice(this, result.count.bindingRequest());
    bool chosen = false;
    QString sender =
        QInputDialog::getItem(this, QStringLiteral("墨岚打单"),
                              result.count.unboundSeller + QStringLiteral(" 用哪个发件人发货？"),
                              senders + QStringList{newSender}, 0, false, &chosen);
    if (!chosen)
        return false;
    if (sender == newSender) {
        // A second shop: its profile is made here, with the shop's id filled in.
        SenderProfilesDialog editor(m_state, this, result.count.unboundSeller);
        connect(&editor, &SenderProfilesDialog::profilesChanged, this, &MainWindow::sendersChanged);
        editor.exec();
        sender.clear();
        for (const SenderProfile& profile : m_state.profiles)
            if (!senders.contains(profile.myIdh))
                sender = profile.myIdh;
        if (sender.isEmpty())
            return false;
    }
    SellerBindings bindings = SellerBindings::load(m_state.folder, m_state.log);
    // Bound under the id as the page gave it: that is what the next capture looks up.
    return bindings.bind(result.count.unboundCaptured, sender, m_state.folder, m_state.log);
}

void MainWindow::applyFilter() {
    m_state.senderChoice = m_senderList->currentText();
    m_state.courierChoice = m_courierList->currentText();
    m_state.printStateChoice = m_stateList->currentText();
    m_printFile.reset(); // the list shows stored orders again
    OrderListing::applyFilter(m_state);
    showPage();
}

void MainWindow::search() {
    showResult(OrderSearch::search(m_state, m_searchField->currentText(), m_searchKey->text()));
}

void MainWindow::nextPage() {
    if (turnPrintFilePage(1))
        return;
    // A new page is read from its top.
    if (showResult(OrderListing::nextPage(m_state)))
        m_rowArea->verticalScrollBar()->setValue(0);
}

void MainWindow::previousPage() {
    if (turnPrintFilePage(-1))
        return;
    if (showResult(OrderListing::previousPage(m_state)))
        m_rowArea->verticalScrollBar()->setValue(0);
}

void MainWindow::switchMode(int tab) {
    if (tab < 0)
        return;
    OrderListing::switchDisplayMode(m_state, tab == 0 ? MainState::DisplayMode::Waybill
                                                      : MainState::DisplayMode::ShippingList);
    m_stateList->setCurrentText(m_state.printStateChoice);
    showPage();
}

void MainWindow::mergeSelected() {
    if (const auto question = OrderMerge::differentBuyersQuestion(m_state);
        question && !showNotice(this, *question))
        return;
    showResult(OrderMerge::mergeSelected(m_state));
}

void MainWindow::selectAllOrNone() {
    OrderListing::selectAllOrNone(m_state);
    showPage();
}

void MainWindow::editExpressPlan() {
    ExpressPlanDialog dialog(m_state, this);
    dialog.exec();
    showPage();
}

void MainWindow::deleteOld() {
    bool ok = false;
    const int days =
        QInputDialog::getInt(this, QStringLiteral("删除旧订单"),
                             QStringLiteral("删除多少天以前的订单："), 30, 0, 36500, 1, &ok);
    if (!ok)
        return;
    if (const auto again = OrderDeletion::everyOrderQuestion(days);
        again && !showNotice(this, *again))
        return;
    showResult(OrderDeletion::deleteOlderThan(m_state, days));
}

void MainWindow::toggleMark(qint64 id, OrderMarks::Mark mark) {
    OrderStore store(*m_state.database);
    OrderMarks::toggle(store, id, mark);
    m_state.requery();
    showPage();
}

void MainWindow::split(qint64 id) {
    showResult(OrderMerge::split(m_state, id));
}

void MainWindow::confirm(qint64 id) {
    const std::optional<Order> order = OrderStore(*m_state.database).byId(id);
    if (!order)
        return;
    const ConfirmationText confirmation =
        ConfirmationText::compose(*order, m_state.serviceBase + QStringLiteral("/mldd/"));
    if (confirmation.refusal) {
        showNotice(this, *confirmation.refusal);
        return;
    }
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(confirmation.text);
    m_status->setText(QStringLiteral("核对信息已复制，可以粘贴给买家。"));
}

void MainWindow::deleteOne(qint64 id) {
    const std::optional<Order> order = OrderStore(*m_state.database).byId(id);
    if (!order)
        return;
    const QString description = order->orderSign + u' ' + order->buyName + u' ' +
                                order->buyAddressSheng + order->buyAddressShi +
                                order->buyAddressXian + order->buyAddress + QStringLiteral("\r\n");
    if (showNotice(this, OrderDeletion::question(description)))
        showResult(OrderDeletion::deleteOne(m_state, id));
}

void MainWindow::saveEdited(const Order& order) {
    // A refused edit keeps what the seller typed in the card, to be completed.
    if (const auto refused = OrderEditing::checkEdited(order)) {
        showNotice(this, *refused);
        return;
    }
    const std::optional<Order> stored = OrderStore(*m_state.database).byId(order.id);
    if (stored && !showNotice(this, OrderEditing::changeQuestion(*stored, order))) {
        showPage();
        return;
    }
    showResult(OrderEditing::save(m_state, order));
}

void MainWindow::changeSender(qint64 id, const QString& senderId) {
    if (!showNotice(this, SenderChoice::changeQuestion())) {
        showPage();
        return;
    }
    showResult(SenderChoice::changeRowSender(m_state, id, senderId));
}

QStringList MainWindow::menuEntryCaptions() const {
    // Captions of entries whose command is not in this window yet; the others say their own.
    QStringList captions{
        QStringLiteral("提取订单"),   QStringLiteral("手工录入"),   QStringLiteral("导入Excel"),
        QStringLiteral("打印快递单"), QStringLiteral("打印发货单"), QStringLiteral("打印设置"),
        QStringLiteral("合并订单"),   QStringLiteral("全选/取消"),  QStringLiteral("快递方案"),
        QStringLiteral("发件人信息"), QStringLiteral("浏览器"),     QStringLiteral("删除旧订单")};
    for (auto entry = m_actions.constBegin(); entry != m_actions.constEnd(); ++entry)
        captions[entry.key()] = entry.value()->text();
    return captions;
}

void MainWindow::addSettingsEntries() {
    addMenuEntry(Menu::Settings, Senders, QStringLiteral("发件人信息"), &MainWindow::editSenders);
    QMenu* settings = menu(Menu::Settings);
    settings->addAction(QStringLiteral("发货单设置"), this, &MainWindow::editShippingDesign);
    settings->addSeparator();
    settings->addAction(QStringLiteral("自助解码文件"), this, &MainWindow::selfServiceDecodeFile);
    settings->addAction(QStringLiteral("刷新解码文件"), this, &MainWindow::refreshDecodeFile);
    settings->addAction(QStringLiteral("修复解码文件"), this, &MainWindow::repairDecodeFiles);
    settings->addAction(QStringLiteral("检查解码文件"), this, &MainWindow::checkDecodeFiles);
    settings->addAction(QStringLiteral("清空我的ID绑定"), this, &MainWindow::clearSellerBindings);
    settings->addAction(QStringLiteral("清空已提取记录"), this, &MainWindow::clearCapturedNumbers);
    settings->addSeparator();
    // Not a menu-visibility entry itself, so that hidden entries can always be shown again.
    settings->addAction(QStringLiteral("菜单设置"), this, &MainWindow::editMenuSettings);
}

void MainWindow::showSenders() {
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

void MainWindow::sendersChanged() {
    showSenders();
    // Waybills and shipping lists show the sender's fields and design as they are now.
    redrawPages();
}

void MainWindow::commitRowEdits() {
    for (OrderRowWidget* row : m_rows)
        if (row->isVisible())
            row->commitEdits();
}

bool MainWindow::ensureSender(const QString& presetId) {
    if (const auto question = SenderChoice::firstUseQuestion(m_state)) {
        if (!showNotice(this, *question))
            return false;
        SenderProfilesDialog editor(m_state, this, presetId);
        connect(&editor, &SenderProfilesDialog::profilesChanged, this, &MainWindow::sendersChanged);
        editor.exec();
    }
    return !m_state.profiles.isEmpty();
}

void MainWindow::manualEntry() {
    if (!ensureSender())
        return;
    ManualEntryDialog entry(m_state, this);
    connect(&entry, &ManualEntryDialog::orderInserted, this, [this] {
        m_senderList->setCurrentText(m_state.senderChoice);
        showPage();
    });
    entry.exec();
}

void MainWindow::editSenders() {
    SenderProfilesDialog editor(m_state, this);
    connect(&editor, &SenderProfilesDialog::profilesChanged, this, &MainWindow::sendersChanged);
    editor.exec();
}

void MainWindow::editShippingDesign() {
    if (!ensureSender())
        return;
    // The sender the list is filtered by, else the first one.
    QString sender = m_state.profiles.first().myIdh;
    for (const SenderProfile& profile : m_state.profiles)
        if (profile.myIdh == m_state.senderChoice)
            sender = profile.myIdh;
    ShippingListDesigner design(m_state, sender, this);
    connect(&design, &ShippingListDesigner::saved, this, &MainWindow::redrawPages);
    design.exec();
}

void MainWindow::selfServiceDecodeFile() {
    DecodeFileEditor editor(m_state, m_lastAddress, m_lastPageText, this);
    editor.exec();
}

void MainWindow::refreshDecodeFile() {
    DecodeFileCommands::refresh(this, m_state, m_lastAddress, m_status);
}

void MainWindow::repairDecodeFiles() {
    DecodeFileCommands::repair(this, m_state);
}

void MainWindow::checkDecodeFiles() {
    DecodeFileCommands::check(this, m_state);
}

void MainWindow::clearSellerBindings() {
    showNotice(this, Notice{SellerBindings::clear(m_state.folder), QStringLiteral("墨岚打单"),
                            Notice::Icon::Information, Notice::Buttons::Ok});
}

void MainWindow::clearCapturedNumbers() {
    CapturedNumbers numbers(*m_state.database);
    const QList<CapturedNumbers::ShopList> shops = numbers.shops();
    if (shops.isEmpty()) {
        showNotice(this, Notice{QStringLiteral("还没有已提取记录。")});
        return;
    }
    const QString allShops = QStringLiteral("所有店铺");
    QStringList choices;
    for (const CapturedNumbers::ShopList& list : shops)
        choices.append(QStringLiteral("%1（%2个）").arg(list.shop).arg(list.count));
    choices.append(allShops);
    bool chosen = false;
    const QString choice = QInputDialog::getItem(this, QStringLiteral("清空已提取记录"),
                                                 QStringLiteral("清空哪个店铺的已提取记录？"),
                                                 choices, 0, false, &chosen);
    if (!chosen)
        return;
    const qsizetype index = choices.indexOf(choice);
    const QString shop = index < shops.size() ? shops.at(index).shop : QString();
    if (!showNotice(this, Notice{QStringLiteral("确定要清空%1的已提取记录吗？\r\n"
                                                "清空后，这些订单的页面可以再次提取。")
                                     .arg(shop.isEmpty() ? allShops : shop),
                                 QStringLiteral("墨岚打单"), Notice::Icon::Exclamation,
                                 Notice::Buttons::YesNo}))
        return;
    const qint64 cleared = numbers.clear(shop);
    if (cleared < 0) {
        showNotice(this, Notice{m_state.database->failureText(), QStringLiteral("墨岚打单"),
                                Notice::Icon::Exclamation});
        return;
    }
    m_status->setText(QStringLiteral("已清空%1个已提取记录。").arg(cleared));
}

void MainWindow::editMenuSettings() {
    MenuSettingsDialog settings(m_state, menuEntryCaptions(), this);
    if (settings.exec() != QDialog::Accepted)
        return;
    for (auto entry = m_actions.constBegin(); entry != m_actions.constEnd(); ++entry)
        entry.value()->setVisible(m_state.menu.isShown(entry.key()));
}

void MainWindow::importSpreadsheet() {
    showNotice(this, Notice{QStringLiteral("请选择Excel文件，而后编制提取文件！")});
    const QString path = FileChooser::openFile(this, QStringLiteral("选择Excel文件"), QString(),
                                               Workbook::fileFilter());
    if (path.isEmpty())
        return;
    ExcelImportDialog mapping(m_state, this);
    if (!mapping.openWorkbook(path) || mapping.exec() != QDialog::Accepted)
        return;
    m_import = std::make_unique<ImportProgress>(mapping.takeRun(), this);
    connect(m_import.get(), &ImportProgress::finished, this, [this](const QString& countsLine) {
        m_import.release()->deleteLater();
        m_status->setText(countsLine);
        m_senderList->setCurrentText(m_state.senderChoice);
        m_stateList->setCurrentText(m_state.printStateChoice);
        showPage();
    });
    m_import->start();
}

void MainWindow::writeBackSpreadsheet() {
    const QString path = FileChooser::openFile(
        this, QStringLiteral("选择要回写快递单号的Excel文件"), QString(), Workbook::fileFilter());
    if (!path.isEmpty())
        writeBack(path);
}

void MainWindow::writeBack(const QString& path) {
    std::variant<WriteBack::Target, Notice> target = WriteBack::targetOf(m_state, path);
    if (auto* notice = std::get_if<Notice>(&target)) {
        showNotice(this, *notice);
        return;
    }
    const auto& [layout, sheet] = std::get<WriteBack::Target>(target);
    showNotice(this, WriteBack::run(m_state, path, layout, sheet).notice);
}

void MainWindow::offerWriteBack(const QList<qint64>& printedIds) {
    const QStringList workbooks = WriteBack::workbooksOf(m_state, printedIds);
    const std::optional<Notice> question = WriteBack::questionAfterPrint(workbooks);
    if (!question || !showNotice(this, *question))
        return;
    for (const QString& path : workbooks)
        writeBack(path);
}

void MainWindow::openDesigner(const QString& name, const std::optional<Order>& order) {
    auto* designer = new TemplateDesigner(m_state, name, order, this);
    designer->setSpooler(m_spooler.get());
    designer->setAttribute(Qt::WA_DeleteOnClose);
    designer->setWindowModality(Qt::WindowModal);
    // Templates are read once per list; a saved one is read again.
    connect(designer, &TemplateDesigner::templateSaved, this, &MainWindow::showCourierChoices);
    designer->show();
}

void MainWindow::startPrint(PrintDocuments::Kind kind) {
    if (m_run && m_run->isRunning())
        return;
    QList<qint64> ids = m_state.selection.ids();
    if (ids.isEmpty())
        ids = QList<qint64>(m_state.cursor.ids().begin(), m_state.cursor.ids().end());
    // Asked once with the count, so that a changed filter never prints orders twice unasked.
    const PrintQuestion question = PrintQuestion::about(OrderStore(*m_state.database), kind, ids);
    if (!question.all.isEmpty()) {
        ids = question.chosen(askNotice(this, question.question));
        if (ids.isEmpty())
            return;
    }
    // Forms the run would miss are fetched first, as a card's missing form is.
    if (kind == PrintDocuments::Kind::Waybills)
        downloadMissingTemplates(OrderStore(*m_state.database).byIds(ids));
    follow(std::make_unique<PrintRun>(m_state, *m_spooler, kind, ids), kind);
}

void MainWindow::printFile(const QString& path) {
    if (m_run && m_run->isRunning())
        return;
    std::variant<PrintFile, Notice> file = PrintFile::read(path);
    if (const Notice* notice = std::get_if<Notice>(&file)) {
        showNotice(this, *notice);
        return;
    }
    const PrintDocuments::Kind kind = std::get<PrintFile>(file).kind;
    // The list shows the file's records, ten to a page, while they print.
    m_printFile = std::get<PrintFile>(file);
    m_printFilePage = 1;
    showPage();
    follow(std::make_unique<PrintRun>(m_state, *m_spooler, std::get<PrintFile>(std::move(file))),
           kind);
}

void MainWindow::follow(std::unique_ptr<PrintRun> run, PrintDocuments::Kind kind) {
    m_run = std::move(run);
    m_run->setGuidance(true);
    m_run->askPaperChange = [this](const Notice& question) { return showNotice(this, question); };
    connect(m_run.get(), &PrintRun::listPageTurned, this, [this] {
        if (m_printFile || m_state.currentPage < m_state.cursor.pageCount())
            nextPage();
    });
    connect(m_run.get(), &PrintRun::finished, this, [this, kind] { printFinished(kind); });
    if (const std::optional<Notice> refused = m_run->start()) {
        showNotice(this, *refused);
        return;
    }
    m_printLine->follow(*m_run);
}

void MainWindow::printFinished(PrintDocuments::Kind kind) {
    const PrintRunResult result = m_run->result();
    m_state.requery();
    showPage();
    if (result.stopped)
        showNotice(this, *result.stopped);
    showNotice(this, result.summary(kind));
    if (kind == PrintDocuments::Kind::Waybills && !result.printedIds.isEmpty()) {
        offerWriteBack(result.printedIds);
        // 打印发货单: each printed waybill's shipping list follows on the shipping-list printer,
        // once; a list printed before is not printed again.
        if (m_state.settings.printsShippingLists() && !result.cancelled) {
            const QList<qint64> lists =
                PrintQuestion::about(OrderStore(*m_state.database),
                                     PrintDocuments::Kind::ShippingLists, result.printedIds)
                    .unprinted;
            if (!lists.isEmpty())
                QTimer::singleShot(0, this, [this, lists] {
                    follow(std::make_unique<PrintRun>(m_state, *m_spooler,
                                                      PrintDocuments::Kind::ShippingLists, lists),
                           PrintDocuments::Kind::ShippingLists);
                });
        }
    }
}

} // namespace mldd
