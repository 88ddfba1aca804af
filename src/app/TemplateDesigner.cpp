#include "TemplateDesigner.h"

#include "CustomItemEditor.h"
#include "DesignerItem.h"
#include "DesignerScene.h"
#include "DesignerView.h"
#include "FileChooser.h"
#include "ItemEditor.h"
#include "NoticeBox.h"

#include "browser/TemplateDownload.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "printing/PrintJob.h"
#include "printing/PrinterSetup.h"
#include "waybill/DesignerNotices.h"
#include "waybill/PagedOutput.h"
#include "waybill/SampleOrder.h"
#include "waybill/TemplateFiles.h"
#include "waybill/WaybillRenderer.h"
#include "workbench/ContentsNames.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoGroup>
#include <QUndoView>
#include <QUrl>

namespace mldd {

namespace {

constexpr int kRefRole = Qt::UserRole;
// A new item's box: 40 × 6 mm, as most texts of a form need.
const QSizeF kNewItemSize(40 * kTwipsPerMillimetre, 6 * kTwipsPerMillimetre);

QVariant refData(ItemRef ref) {
    return QVariant::fromValue(QPoint(int(ref.kind), ref.index));
}

ItemRef refOf(const QListWidgetItem* item) {
    const QPoint data = item->data(kRefRole).toPoint();
    return {ItemRef::Kind(data.x()), data.y()};
}

QString millimetres(double twips) {
    return QString::number(twips / kTwipsPerMillimetre, 'f', 1);
}

} // namespace

TemplateDesigner::TemplateDesigner(MainState& state, const QString& templateName,
                                   const std::optional<Order>& order, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_order(order.value_or(SampleOrder::order())),
      m_renderer(
          std::make_unique<WaybillRenderer>(WaybillSettings::fromPrintSettings(state.settings))),
      m_view(new DesignerView(this)), m_undoGroup(new QUndoGroup(this)) {
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The boxes show the seller's own order when there is one, else a sample one.
    for (const SenderProfile& profile : state.profiles)
        if (profile.myIdh == m_order.myId)
            m_sender = profile;
    if (!order) {
        if (!m_sender)
            m_sender = state.profiles.isEmpty() ? SampleOrder::sender() : state.profiles.first();
        m_order.myId = m_sender->myIdh;
    }
    m_order.buyNjpm = ContentsNames::printedFor(state.folder, m_order);

    createToolBar();
    auto* splitter = new QSplitter(this);
    splitter->addWidget(createSidePanel());
    splitter->addWidget(m_view);
    m_editors = new QStackedWidget(this);
    auto* hint = new QLabel(QStringLiteral("点选一个项目来修改它。\n方向键移动 1 毫米，"
                                           "Shift+方向键移动 0.1 毫米；\n拖动时按住 Alt 不吸附。"),
                            this);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignTop);
    m_itemEditor = new ItemEditor(this);
    m_customEditor = new CustomItemEditor(this);
    m_editors->addWidget(hint);
    m_editors->addWidget(m_itemEditor);
    m_editors->addWidget(m_customEditor);
    m_editors->setMinimumWidth(230);
    splitter->addWidget(m_editors);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    m_position = new QLabel(this);
    statusBar()->addWidget(m_position, 1);
    connect(m_view, &DesignerView::zoomChanged, this, [this](double zoom) {
        if (m_scene)
            m_scene->setPixelsPerTwip(m_view->pixelsPerTwip());
        m_zoomList->setEditText(QString::number(std::lround(zoom * 100)) + u'%');
    });
    resize(1024, 740);

    const QString name = templateName.isEmpty() ? state.templates.value(0) : templateName;
    if (!name.isEmpty())
        openTemplate(name);
    if (!m_document)
        statusBar()->showMessage(QStringLiteral("还没有打开模版：点[新建]用快递单图片做一个。"));
}

TemplateDesigner::~TemplateDesigner() {
    // The scene refers to the document; it goes first.
    delete m_scene;
}

void TemplateDesigner::createToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("模版设计"));
    bar->setMovable(false);
    bar->addAction(QStringLiteral("新建"), this, &TemplateDesigner::newTemplate);
    m_templateList = new QComboBox(bar);
    m_templateList->setAccessibleName(QStringLiteral("快递单据模版"));
    m_templateList->setMinimumContentsLength(6);
    m_templateList->addItems(m_state.templates);
    connect(m_templateList, &QComboBox::textActivated, this, [this](const QString& name) {
        if (!m_document || name != m_document->name())
            openTemplate(name);
    });
    bar->addWidget(m_templateList);
    QAction* saveAction = bar->addAction(QStringLiteral("保存"), this, &TemplateDesigner::save);
    saveAction->setShortcut(QKeySequence::Save);
    bar->addAction(QStringLiteral("另存为"), this, &TemplateDesigner::saveAs);
    bar->addSeparator();

    m_undo = m_undoGroup->createUndoAction(this, QStringLiteral("撤销"));
    m_undo->setShortcut(QKeySequence::Undo);
    m_redo = m_undoGroup->createRedoAction(this, QStringLiteral("重做"));
    m_redo->setShortcut(QKeySequence::Redo);
    bar->addAction(m_undo);
    bar->addAction(m_redo);
    bar->addSeparator();

    auto* add = new QToolButton(bar);
    add->setText(QStringLiteral("添加项目"));
    add->setPopupMode(QToolButton::InstantPopup);
    add->setMenu(createAddMenu());
    bar->addWidget(add);
    QAction* remove =
        bar->addAction(QStringLiteral("删除项目"), this, &TemplateDesigner::removeSelected);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    m_view->addAction(remove);
    m_showHidden = bar->addAction(QStringLiteral("显示隐藏的项目"));
    m_showHidden->setCheckable(true);
    connect(m_showHidden, &QAction::toggled, this, [this](bool on) {
        if (m_scene)
            m_scene->setShowingHidden(on);
    });
    bar->addSeparator();

    m_zoomList = new QComboBox(bar);
    m_zoomList->setEditable(true);
    m_zoomList->setAccessibleName(QStringLiteral("缩放"));
    m_zoomList->addItems({QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                          QStringLiteral("150%"), QStringLiteral("200%"),
                          QStringLiteral("适合窗口")});
    connect(m_zoomList, &QComboBox::textActivated, this, [this](const QString& text) {
        if (text == QStringLiteral("适合窗口")) {
            fitPaper();
            return;
        }
        bool ok = false;
        const double percent = QString(text).remove(u'%').trimmed().toDouble(&ok);
        if (ok && percent > 0)
            m_view->setZoom(percent / 100);
    });
    bar->addWidget(m_zoomList);
    bar->addSeparator();
    bar->addAction(QStringLiteral("测试打印"), this, &TemplateDesigner::testPrint);
}

QMenu* TemplateDesigner::createAddMenu() {
    auto* menu = new QMenu(this);
    QMap<QString, QMenu*> groups;
    for (const ItemSource& source : ItemSources::all()) {
        QMenu*& group = groups[source.group];
        if (!group)
            group = menu->addMenu(source.group);
        group->addAction(source.caption, this, [this, source] { addItem(source); });
    }
    menu->addAction(QStringLiteral("固定文字…"), this, [this] {
        bool ok = false;
        const QString text = QInputDialog::getText(this, QStringLiteral("固定文字"),
                                                   QStringLiteral("要打印的文字："),
                                                   QLineEdit::Normal, QString(), &ok);
        if (ok && !text.trimmed().isEmpty())
            addItem({text.trimmed(), ItemSources::constant(text.trimmed()), QString()});
    });
    return menu;
}

QWidget* TemplateDesigner::createSidePanel() {
    auto* tabs = new QTabWidget(this);
    m_itemList = new QListWidget(tabs);
    m_itemList->setAccessibleName(QStringLiteral("项目"));
    m_itemList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(m_itemList, &QListWidget::itemSelectionChanged, this,
            &TemplateDesigner::chooseFromList);
    // An item picked by a click or Enter is then nudged with the arrow keys, as
    // the hint says; stepping through the list with them leaves the keys there.
    for (const auto picked : {&QListWidget::itemClicked, &QListWidget::itemActivated})
        connect(m_itemList, picked, m_view, [this] { m_view->setFocus(); });
    tabs->addTab(m_itemList, QStringLiteral("项目"));
    auto* history = new QUndoView(m_undoGroup, tabs);
    history->setEmptyLabel(QStringLiteral("<打开时>"));
    tabs->addTab(history, QStringLiteral("历史"));
    tabs->setMinimumWidth(150);
    tabs->setMaximumWidth(220);
    return tabs;
}

bool TemplateDesigner::tell(const QList<Notice>& notices) {
    for (const Notice& notice : notices)
        showNotice(this, notice);
    return notices.isEmpty();
}

bool TemplateDesigner::openTemplate(const QString& name) {
    if (!confirmLeaving())
        return false;
    TemplateDocument::Opened opened = TemplateDocument::open(m_state.folder, name);
    const TemplateFiles files(m_state.folder, name);
    if (!opened.document && files.hasSafeName() && !files.exists()) {
        // Missing: said so, fetched from the board once, and opened when it came.
        tell(opened.notices);
        // Asked for by name: asked again, though the cards' try failed before.
        m_state.templatesAsked.remove(name);
        const TemplateDownload::Result fetched =
            TemplateDownload::fetchMissing(m_state, {name}, ServiceClient());
        tell(fetched.notices);
        if (fetched.downloaded.isEmpty())
            return false;
        emit templateSaved(name);
        opened = TemplateDocument::open(m_state.folder, name);
    }
    if (opened.document)
        install(std::move(opened.document));
    tell(opened.notices);
    return m_document && m_document->name() == name;
}

bool TemplateDesigner::startTemplate(const NewTemplateChoice& choice) {
    if (!TemplateFiles::isSafeName(choice.name))
        return tell({DesignerNotices::badName(choice.name)});
    if (TemplateFiles(m_state.folder, choice.name).exists() &&
        !showNotice(this, DesignerNotices::replaceExisting(choice.name)))
        return false;
    if (!confirmLeaving())
        return false;
    if (choice.picture.isEmpty()) {
        // An installed template as the start: opened, then saved under the new name.
        TemplateDocument::Opened opened = TemplateDocument::open(m_state.folder, choice.startFrom);
        if (!opened.document)
            return tell(opened.notices);
        if (const std::optional<Notice> refused = opened.document->saveAs(choice.name))
            return tell({*refused});
        install(std::move(opened.document));
        emit templateSaved(choice.name);
        return true;
    }
    TemplateDocument::Opened made = TemplateDocument::fromPicture(
        m_state.folder, choice.name, choice.picture, choice.millimetres);
    if (!made.document)
        return tell(made.notices);
    install(std::move(made.document));
    statusBar()->showMessage(QStringLiteral("新模版：用[添加项目]放上要打印的内容，然后[保存]。"));
    return true;
}

void TemplateDesigner::install(std::unique_ptr<TemplateDocument> document) {
    auto* scene = new DesignerScene(
        *document, *m_renderer,
        WaybillInput{m_order, m_sender ? &*m_sender : nullptr, QDate::currentDate()}, this);
    scene->setShowingHidden(m_showHidden->isChecked());
    m_view->setScene(scene);
    delete m_scene;
    m_scene = scene;
    if (m_document)
        m_undoGroup->removeStack(&m_document->undoStack());
    m_document = std::move(document);
    m_undoGroup->addStack(&m_document->undoStack());
    m_undoGroup->setActiveStack(&m_document->undoStack());

    TemplateDocument* shown = m_document.get();
    connect(shown, &TemplateDocument::itemChanged, this, [this](ItemRef ref) {
        refreshListRow(ref);
        showSelection();
    });
    connect(shown, &TemplateDocument::itemsReset, this, [this] {
        fillItemList();
        showSelection();
    });
    connect(&shown->undoStack(), &QUndoStack::cleanChanged, this,
            [this] { setWindowModified(m_document->isModified()); });
    connect(shown, &TemplateDocument::saved, this, [this](const QString& name) {
        m_state.templates = installedTemplateNames(m_state.folder);
        const QSignalBlocker blocker(m_templateList);
        m_templateList->clear();
        m_templateList->addItems(m_state.templates);
        m_templateList->setCurrentText(name);
        setWindowTitle(QStringLiteral("模版设计 - %1[*]").arg(name));
        setWindowModified(false);
        emit templateSaved(name);
    });
    connect(scene, &QGraphicsScene::selectionChanged, this, &TemplateDesigner::showSelection);

    setWindowTitle(QStringLiteral("模版设计 - %1[*]").arg(m_document->name()));
    setWindowModified(m_document->isModified());
    {
        const QSignalBlocker blocker(m_templateList);
        m_templateList->setCurrentText(m_document->name());
    }
    fillItemList();
    showSelection();
    fitPaper();
}

void TemplateDesigner::fitPaper() {
    if (!m_document)
        return;
    m_view->setZoom(m_view->fittingZoom(m_document->paper()));
    m_view->centerOn(QRectF(QPointF(), m_document->paper()).center());
}

bool TemplateDesigner::confirmLeaving() {
    if (!m_document || !m_document->isModified())
        return true;
    const Notice question = DesignerNotices::unsavedChanges(m_document->name());
    QMessageBox box(QMessageBox::Warning, question.title, question.text, QMessageBox::NoButton,
                    this);
    QPushButton* saveButton = box.addButton(QStringLiteral("保存"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("不保存"), QMessageBox::NoRole);
    QPushButton* stay = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(saveButton);
    box.exec();
    if (box.clickedButton() == stay)
        return false;
    return box.clickedButton() != saveButton || save();
}

void TemplateDesigner::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The paper fits once the view has its size.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, &TemplateDesigner::fitPaper);
}

void TemplateDesigner::closeEvent(QCloseEvent* event) {
    if (confirmLeaving())
        event->accept();
    else
        event->ignore();
}

void TemplateDesigner::fillItemList() {
    const QSignalBlocker blocker(m_itemList);
    m_itemList->clear();
    for (const ItemRef& ref : m_document->items()) {
        auto* row = new QListWidgetItem(m_itemList);
        row->setData(kRefRole, refData(ref));
        refreshListRow(ref);
    }
}

void TemplateDesigner::refreshListRow(ItemRef ref) {
    const QList<ItemRef> refs = m_document->items();
    QListWidgetItem* row = m_itemList->item(int(refs.indexOf(ref)));
    if (!row)
        return;
    QString text = m_document->caption(ref);
    if (!m_document->box(ref))
        text += QStringLiteral("（位置无效）");
    else if (!m_document->prints(ref))
        text += ref.kind == ItemRef::Kind::Custom ? QStringLiteral("（未用）")
                                                  : QStringLiteral("（不打印）");
    row->setText(text);
    row->setForeground(m_document->prints(ref) ? palette().text() : QBrush(Qt::gray));
}

void TemplateDesigner::chooseFromList() {
    if (!m_scene)
        return;
    const QList<QListWidgetItem*> chosen = m_itemList->selectedItems();
    QList<ItemRef> refs;
    for (QListWidgetItem* row : chosen)
        refs.append(refOf(row));
    {
        const QSignalBlocker blocker(m_scene);
        m_scene->select(refs);
    }
    if (chosen.size() == 1)
        if (DesignerItem* item = m_scene->item(refOf(chosen.first())); item && item->isVisible())
            m_view->ensureVisible(item->box());
    showSelection();
}

void TemplateDesigner::showSelection() {
    if (!m_scene)
        return;
    QList<ItemRef> selected = m_scene->selectedRefs();
    if (selected.isEmpty()) // a record without a box is chosen in the list alone
        for (QListWidgetItem* row : m_itemList->selectedItems())
            selected.append(refOf(row));
    {
        const QSignalBlocker blocker(m_itemList);
        const QList<ItemRef> refs = m_document->items();
        for (int i = 0; i < m_itemList->count(); ++i)
            m_itemList->item(i)->setSelected(selected.contains(refs.value(i)));
    }
    if (selected.size() != 1) {
        m_editors->setCurrentIndex(0);
        m_view->markOnRulers(std::nullopt);
        m_position->setText(
            selected.isEmpty() ? QString() : QStringLiteral("选中 %1 个项目").arg(selected.size()));
        return;
    }
    const ItemRef ref = selected.first();
    if (ref.kind == ItemRef::Kind::Layout) {
        m_itemEditor->showItem(m_document.get(), ref.index);
        m_editors->setCurrentWidget(m_itemEditor);
    } else {
        m_customEditor->showItem(m_document.get(), ref.index);
        m_editors->setCurrentWidget(m_customEditor);
    }
    const std::optional<QRectF> box = m_document->box(ref);
    m_view->markOnRulers(box);
    m_position->setText(box ? QStringLiteral("%1   左 %2 mm  上 %3 mm  宽 %4 mm  高 %5 mm")
                                  .arg(m_document->caption(ref), millimetres(box->left()),
                                       millimetres(box->top()), millimetres(box->width()),
                                       millimetres(box->height()))
                            : m_document->caption(ref));
}

void TemplateDesigner::addItem(const ItemSource& source) {
    if (!m_document)
        return;
    const QPointF centre = m_view->mapToScene(m_view->viewport()->rect().center());
    const QRectF box(centre - QPointF(kNewItemSize.width(), kNewItemSize.height()) / 2,
                     kNewItemSize);
    if (const std::optional<Notice> refused = m_document->addItem(source, box)) {
        showNotice(this, *refused);
        return;
    }
    m_scene->select({ItemRef::layout(m_document->layoutCount() - 1)});
    m_view->setFocus();
}

void TemplateDesigner::removeSelected() {
    if (!m_scene)
        return;
    QList<int> indexes;
    for (const ItemRef& ref : m_scene->selectedRefs())
        if (ref.kind == ItemRef::Kind::Layout)
            indexes.append(ref.index);
    if (indexes.isEmpty()) {
        statusBar()->showMessage(
            QStringLiteral("自定义项目不能删除：去掉它的[打印]勾选，它就不打印了。"), 5000);
        return;
    }
    std::sort(indexes.rbegin(), indexes.rend());
    QUndoStack& stack = m_document->undoStack();
    stack.beginMacro(QStringLiteral("删除 %1 个项目").arg(indexes.size()));
    for (int index : indexes)
        m_document->removeItem(index);
    stack.endMacro();
}

bool TemplateDesigner::save() {
    if (!m_document)
        return false;
    const std::optional<Notice> failed = m_document->save();
    if (failed)
        showNotice(this, *failed);
    return !failed;
}

void TemplateDesigner::saveAs() {
    if (!m_document)
        return;
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("另存为"), QStringLiteral("新的模版名称："),
                              QLineEdit::Normal, m_document->name(), &ok)
            .trimmed();
    if (!ok || name == m_document->name())
        return;
    if (TemplateFiles(m_state.folder, name).exists() &&
        !showNotice(this, DesignerNotices::replaceExisting(name)))
        return;
    if (const std::optional<Notice> refused = m_document->saveAs(name))
        showNotice(this, *refused);
}

void TemplateDesigner::newTemplate() {
    NewTemplateDialog dialog(m_state.templates, this);
    if (dialog.exec() == QDialog::Accepted)
        startTemplate(dialog.choice());
}

PageModel TemplateDesigner::testPage() {
    const WaybillInput input{m_order, m_sender ? &*m_sender : nullptr, QDate::currentDate()};
    return m_renderer->render(m_document->asTemplate(), input);
}

std::optional<Notice> TemplateDesigner::testPrintTo(const QString& pdf) {
    QString error;
    if (writePdf(pdf, {testPage()}, &error))
        return std::nullopt;
    return Notice{error, QStringLiteral("墨岚打单"), Notice::Icon::Exclamation};
}

void TemplateDesigner::testPrint() {
    if (!m_document)
        return;
    if (m_spooler) {
        const PrinterSetup setup(m_state.folder, m_state.log);
        auto checked = PrintChecks::waybillPrinter(setup, *m_spooler);
        if (const auto* printer = std::get_if<CheckedPrinter>(&checked)) {
            const auto answer = QMessageBox::question(
                this, QStringLiteral("测试打印"),
                QStringLiteral("把测试页打印到快递单打印机 %1 吗？\n选[否]则写入 PDF 文件。")
                    .arg(printer->toFile ? QStringLiteral("（打印到快递文件）") : printer->name),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            if (answer == QMessageBox::Cancel)
                return;
            if (answer == QMessageBox::Yes) {
                if (const std::optional<Notice> failed = printOutsideRun(
                        *m_spooler, setup, *printer, {testPage()},
                        QStringLiteral("快递单-测试-") + m_document->name(),
                        m_state.folder.file(QStringLiteral("Print")), QStringLiteral("测试页")))
                    showNotice(this, *failed);
                else
                    statusBar()->showMessage(QStringLiteral("测试页已交给打印机。"), 8000);
                return;
            }
        } else {
            // The seller asked for paper: say why the page goes to a file instead.
            Notice refused = std::get<Notice>(checked);
            refused.text += QStringLiteral("\n\n测试页改为写入 PDF 文件。");
            showNotice(this, refused);
        }
    }
    const QString pdf = FileChooser::saveFile(
        this, QStringLiteral("测试打印"),
        QDir::home().filePath(m_document->name() + QStringLiteral("-测试.pdf")),
        QStringLiteral("PDF 文件 (*.pdf)"));
    if (pdf.isEmpty())
        return;
    if (const std::optional<Notice> failed = testPrintTo(pdf)) {
        showNotice(this, *failed);
        return;
    }
    statusBar()->showMessage(QStringLiteral("测试页已写入 %1").arg(pdf), 8000);
    QDesktopServices::openUrl(QUrl::fromLocalFile(pdf));
}

} // namespace mldd
