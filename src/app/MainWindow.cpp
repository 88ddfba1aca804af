#include "MainWindow.h"

#include "BrowserPanel.h"
#include "CaptureCommands.h"
#include "DailyStoreCheck.h"
#include "DayShortcuts.h"
#include "FirstStartChecklist.h"
#include "HelpKeys.h"
#include "LargePreview.h"
#include "MenuSettingsDialog.h"
#include "NoticeBox.h"
#include "OrderCommands.h"
#include "OrderListPanel.h"
#include "OrderRowWidget.h"
#include "PrintCommands.h"
#include "SenderSetup.h"
#include "SettingsCommands.h"
#include "SpreadsheetCommands.h"
#include "TrackingNumberDialog.h"
#include "WaybillPreview.h"

#include "browser/TemplateDownload.h"
#include "core/MainState.h"
#include "core/ProgramVersion.h"
#include "core/StoreBackup.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace mldd {

MainWindow::MainWindow(MainState& state, QWidget* parent) : QMainWindow(parent), m_state(state) {
    setWindowTitle(QStringLiteral("墨岚打单 V ") + kProgramVersion);
    m_list = new OrderListPanel(state, this);
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(m_list);
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(m_pages, 1);
    setCentralWidget(central);
    m_status = new QLabel(this);
    statusBar()->addWidget(m_status, 1);

    const CommandContext context{state, this, m_list, m_status};
    m_senders = new SenderSetup(context, this);
    m_capture = new CaptureCommands(context, *m_senders, this);
    m_settings = new SettingsCommands(context, *m_capture, this);
    m_orders = new OrderCommands(context, this);
    m_spreadsheets = new SpreadsheetCommands(context, this);
    setAcceptDrops(true);
    m_printing = new PrintCommands(context, *m_spreadsheets, this);
    connect(m_capture, &CaptureCommands::expressPlanWanted, m_settings,
            &SettingsCommands::editExpressPlan);

    addMenus();
    wireRows();
    addFirstStartChecklist(centralLayout);
    resize(1024, 760);
    m_list->showSenders();
    m_list->showPage();
    // The look at the indexes a batch writes through begins behind the first page too:
    // the first capture then seldom waits for it.
    m_state.database->beginIndexCheck();

    // The store's daily check and backup run behind the first page, never before it.
    m_dailyCheck = new DailyStoreCheck(this);
    connect(m_dailyCheck, &DailyStoreCheck::finished, this,
            [this](const std::optional<Notice>& notice) {
                showLatestBackup();
                if (notice)
                    showNotice(this, *notice);
            });
    QTimer::singleShot(0, this, [this] { m_dailyCheck->startIfDue(m_state); });
    DayShortcuts::install(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::showLatestBackup() {
    if (m_state.database->isServer())
        m_backupEntry->setText(QStringLiteral("备份订单数据库（共享数据库请用服务器自己的备份）"));
    else if (m_dailyCheck && m_dailyCheck->isRunning())
        m_backupEntry->setText(QStringLiteral("正在检查并备份订单数据库……"));
    else
        m_backupEntry->setText(StoreBackup(m_state.folder).entryCaption());
}

void MainWindow::addMenus() {
    m_toolbar = addToolBar(QStringLiteral("菜单"));
    m_toolbar->setMovable(false);
    m_menus.insert(Menu::Orders, menuBar()->addMenu(QStringLiteral("订单")));
    m_menus.insert(Menu::Printing, menuBar()->addMenu(QStringLiteral("打印")));
    m_menus.insert(Menu::Settings, menuBar()->addMenu(QStringLiteral("设置")));

    addMenuEntry(Menu::Orders, Capture, QStringLiteral("提取订单"), [this] { showBrowser(); });
    // The browser for any page (the template board, a marketplace), without capture's checks.
    addMenuEntry(Menu::Orders, Browser, QStringLiteral("浏览器"), [this] { openBrowser(); });
    addMenuEntry(Menu::Orders, ManualEntry, QStringLiteral("手工录入"),
                 [this] { m_capture->manualEntry(); });
    addMenuEntry(Menu::Orders, Import, QStringLiteral("导入Excel"),
                 [this] { m_spreadsheets->importSpreadsheet(); });
    menu(Menu::Orders)
        ->addAction(QStringLiteral("回写Excel"), m_spreadsheets,
                    &SpreadsheetCommands::writeBackSpreadsheet);
    addMenuEntry(Menu::Orders, Merge, QStringLiteral("合并订单"),
                 [this] { m_orders->mergeSelected(); });
    addMenuEntry(Menu::Orders, SelectAll, QStringLiteral("全选/取消"),
                 [this] { m_list->selectAllOrNone(); });
    addMenuEntry(Menu::Orders, DeleteOld, QStringLiteral("删除旧订单"),
                 [this] { m_orders->deleteOld(); });
    menu(Menu::Orders)->addAction(QStringLiteral("填写运单号"), this, [this] {
        m_list->commitRowEdits();
        TrackingNumberDialog(m_state, this).exec();
        m_state.requery();
        showPage();
    });

    addMenuEntry(Menu::Printing, PrintWaybills, QStringLiteral("打印快递单"),
                 [this] { m_printing->startPrint(PrintDocuments::Kind::Waybills); });
    addMenuEntry(Menu::Printing, PrintLists, QStringLiteral("打印发货单"),
                 [this] { m_printing->startPrint(PrintDocuments::Kind::ShippingLists); });
    menu(Menu::Printing)
        ->addAction(QStringLiteral("打印拣货单"), m_printing, &PrintCommands::printPickingList);
    addMenuEntry(Menu::Printing, PrintSettings, QStringLiteral("打印设置"),
                 [this] { m_printing->editPrintSettings(); });
    menu(Menu::Printing)
        ->addAction(QStringLiteral("打印机设置"), m_printing, &PrintCommands::editPrinters);

    QMenu* settings = menu(Menu::Settings);
    addMenuEntry(Menu::Settings, ExpressPlan, QStringLiteral("快递方案"),
                 [this] { m_settings->editExpressPlan(); });
    addMenuEntry(Menu::Settings, Senders, QStringLiteral("发件人信息"),
                 [this] { m_senders->edit(); });
    settings->addAction(QStringLiteral("发货单设置"), m_senders, &SenderSetup::editShippingDesign);
    settings->addSeparator();
    settings->addAction(QStringLiteral("自助解码文件"), m_settings,
                        &SettingsCommands::selfServiceDecodeFile);
    settings->addAction(QStringLiteral("刷新解码文件"), m_settings,
                        &SettingsCommands::refreshDecodeFile);
    settings->addAction(QStringLiteral("修复解码文件"), m_settings,
                        &SettingsCommands::repairDecodeFiles);
    settings->addAction(QStringLiteral("检查解码文件"), m_settings,
                        &SettingsCommands::checkDecodeFiles);
    settings->addAction(QStringLiteral("清空我的ID绑定"), m_settings,
                        &SettingsCommands::clearSellerBindings);
    settings->addAction(QStringLiteral("清空已提取记录"), m_settings,
                        &SettingsCommands::clearCapturedNumbers);
    settings->addSeparator();
    // Not a menu-visibility entry itself, so that hidden entries can always be shown again.
    settings->addAction(QStringLiteral("菜单设置"), this, &MainWindow::editMenuSettings);
    settings->addAction(QStringLiteral("下载快递模版"), this, [this] {
        openBrowser(TemplateDownload::boardAddress(m_state.serviceBase));
    });
    settings->addAction(QStringLiteral("建立右键菜单"), m_settings,
                        &SettingsCommands::installContextMenu);
    settings->addAction(QStringLiteral("模版设计"), this,
                        [this] { m_printing->openDesigner(QString(), std::nullopt); });
    settings->addSeparator();
    // A backup made now, behind the window, like the day's first one.
    m_backupEntry = settings->addAction(QString(), this, [this] {
        m_dailyCheck->startNow(m_state);
        showLatestBackup();
    });
    m_backupEntry->setEnabled(!m_state.database->isServer());
    connect(settings, &QMenu::aboutToShow, this, &MainWindow::showLatestBackup);
    showLatestBackup();

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
}

QAction* MainWindow::addMenuEntry(Menu menu, MenuEntry entry, const QString& text,
                                  std::function<void()> handler) {
    QAction* action = m_menus.value(menu)->addAction(text, this, [this, handler] {
        m_list->commitRowEdits();
        handler();
    });
    m_toolbar->addAction(action);
    action->setVisible(m_state.menu.isShown(entry));
    m_actions.insert(entry, action);
    return action;
}

void MainWindow::wireRows() {
    connect(m_list->largePreview(), &LargePreview::clicked, m_printing,
            &PrintCommands::previewLarger);
    for (OrderRowWidget* row : m_list->rows()) {
        connect(row, &OrderRowWidget::markClicked, m_orders, &OrderCommands::toggleMark);
        connect(row, &OrderRowWidget::splitClicked, m_orders, &OrderCommands::split);
        connect(row, &OrderRowWidget::confirmClicked, m_orders, &OrderCommands::confirm);
        connect(row, &OrderRowWidget::deleteClicked, m_orders, &OrderCommands::deleteOne);
        connect(row, &OrderRowWidget::edited, m_orders, &OrderCommands::saveEdited);
        connect(row, &OrderRowWidget::senderChosen, m_orders, &OrderCommands::changeSender);
        connect(row->preview(), &WaybillPreview::clicked, m_printing,
                [this, row] { m_printing->previewLarger(row->orderId()); });
        connect(row, &OrderRowWidget::largerPreviewRequested, m_printing,
                &PrintCommands::previewLarger);
        connect(row, &OrderRowWidget::offsetAdjustmentRequested, m_printing,
                &PrintCommands::adjustOffsets);
        connect(row, &OrderRowWidget::templateEditRequested, m_printing,
                &PrintCommands::editTemplateOf);
    }
}

void MainWindow::showPage() {
    m_list->showPage();
}

void MainWindow::handleCommand(const CommandAction& action, const QString& pageText, bool now) {
    if (action.hint) {
        showNotice(this, *action.hint);
        HelpKeys::request(this, action.helpPage);
    }
    const auto act = [this, now](const std::function<void()>& work) {
        now ? work() : QTimer::singleShot(10, this, work);
    };
    switch (action.kind) {
    case CommandAction::Kind::OpenWaybillFile:
    case CommandAction::Kind::OpenShipListFile:
        m_status->setText(QStringLiteral("打印文件：") + action.text);
        act([this, path = action.text] { m_printing->printFile(path); });
        break;
    case CommandAction::Kind::Capture:
        // With the page text the browser copied.
        act([this, address = action.text, pageText] {
            m_capture->capture(address, pageText.isEmpty() ? QGuiApplication::clipboard()->text()
                                                           : pageText);
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
    // Dealt with before the next request is taken: its questions hold the others back.
    handleCommand(handleCommandText(m_state, commandText, CommandSource::Request), pageText, true);
}

void MainWindow::openBrowser(const QString& address) {
    if (!m_browser) {
        m_browser = new BrowserPanel(m_state, m_pages);
        m_pages->addWidget(m_browser);
        connect(m_browser, &BrowserPanel::pageCaptured, m_capture, &CaptureCommands::capture);
        connect(m_browser, &BrowserPanel::closeRequested, this,
                [this] { m_pages->setCurrentIndex(0); });
        connect(m_browser, &BrowserPanel::templatesChanged, m_list,
                &OrderListPanel::showCourierChoices);
        connect(m_browser, &BrowserPanel::templatesChanged, this, &MainWindow::showFirstStartSteps);
    }
    // Choosing 提取订单 again while the browser is shown goes back to the orders.
    const bool showing = m_pages->currentWidget() == m_browser;
    m_pages->setCurrentWidget(showing && address.isEmpty() ? m_pages->widget(0) : m_browser);
    if (!address.isEmpty())
        m_browser->open(address);
}

void MainWindow::addFirstStartChecklist(QVBoxLayout* layout) {
    if (!FirstStartSteps::wanted(m_state))
        return;
    m_checklist = new FirstStartChecklist(this);
    layout->insertWidget(0, m_checklist);
    using FirstStartSteps::Step;
    connect(m_checklist, &FirstStartChecklist::stepChosen, this, [this](Step step) {
        switch (step) {
        case Step::Sender:
            m_senders->edit();
            break;
        case Step::Printer:
            m_printing->editPrinters();
            break;
        case Step::Templates:
            openBrowser(TemplateDownload::boardAddress(m_state.serviceBase));
            break;
        case Step::Plan:
            m_settings->editExpressPlan();
            break;
        case Step::Orders:
            break;
        }
        showFirstStartSteps();
    });
    using Way = FirstStartChecklist::OrderWay;
    connect(m_checklist, &FirstStartChecklist::orderWayChosen, this, [this](Way way) {
        const MenuEntry entry = way == Way::Capture  ? Capture
                                : way == Way::Import ? Import
                                                     : ManualEntry;
        m_actions.value(entry)->trigger();
        showFirstStartSteps();
    });
    // Templates arrive while the board is open; orders when a capture or an import ends.
    connect(m_list, &OrderListPanel::pageShown, this, &MainWindow::showFirstStartSteps);
    showFirstStartSteps();
}

void MainWindow::showFirstStartSteps() {
    if (!m_checklist)
        return;
    FirstStartSteps::recordIfDone(m_state);
    if (FirstStartSteps::wanted(m_state)) {
        m_checklist->showItems(FirstStartSteps::items(m_state));
        return;
    }
    m_checklist->hide();
    m_checklist->deleteLater();
    m_checklist = nullptr;
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        showFirstStartSteps();
}

void MainWindow::showBrowser() {
    if (m_senders->ensure())
        openBrowser();
}

QStringList MainWindow::menuEntryCaptions() const {
    QStringList captions;
    for (int entry = 0; entry < MenuVisibility::kEntries; ++entry)
        captions.append(m_actions.value(static_cast<MenuEntry>(entry))->text());
    return captions;
}

void MainWindow::editMenuSettings() {
    MenuSettingsDialog settings(m_state, menuEntryCaptions(), this);
    if (settings.exec() != QDialog::Accepted)
        return;
    for (auto entry = m_actions.constBegin(); entry != m_actions.constEnd(); ++entry)
        entry.value()->setVisible(m_state.menu.isShown(entry.key()));
}

ImportProgress* MainWindow::importProgress() const {
    return m_spreadsheets->importProgress();
}
PrintRun* MainWindow::printRun() const {
    return m_printing->run();
}
QLabel* MainWindow::informationLine() const {
    return m_list->informationLine();
}
QComboBox* MainWindow::printStateList() const {
    return m_list->printStateList();
}
QComboBox* MainWindow::searchFieldList() const {
    return m_list->searchFieldList();
}
QLineEdit* MainWindow::searchKey() const {
    return m_list->searchKey();
}
const QList<OrderRowWidget*>& MainWindow::rows() const {
    return m_list->rows();
}
QWidget* MainWindow::nextPageButton() const {
    return m_list->nextPageButton();
}
QWidget* MainWindow::previousPageButton() const {
    return m_list->previousPageButton();
}
QWidget* MainWindow::filterButton() const {
    return m_list->filterButton();
}
QWidget* MainWindow::searchButton() const {
    return m_list->searchButton();
}
QTabBar* MainWindow::modeTabs() const {
    return m_list->modeTabs();
}
QScrollArea* MainWindow::rowArea() const {
    return m_list->rowArea();
}
QComboBox* MainWindow::senderFilterList() const {
    return m_list->senderFilterList();
}
QComboBox* MainWindow::courierList() const {
    return m_list->courierList();
}
PrintProgressLine* MainWindow::printProgressLine() const {
    return m_list->printProgressLine();
}

namespace {

// The one local file of a drop, when it is one a workbook can be.
QString droppedWorkbook(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return QString();
    const QString path = urls.first().toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    return QStringList{QStringLiteral("xlsx"), QStringLiteral("xls"), QStringLiteral("xml"),
                       QStringLiteral("csv"), QStringLiteral("txt")}
                   .contains(suffix)
               ? path
               : QString();
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedWorkbook(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedWorkbook(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // The mapping window is modal: it opens once the drop has ended.
    QTimer::singleShot(0, m_spreadsheets, [this, path] { m_spreadsheets->importFile(path); });
}

} // namespace mldd
