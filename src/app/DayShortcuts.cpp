#include "DayShortcuts.h"

#include "MainWindow.h"
#include "OrderRowWidget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace mldd {

const QList<DayShortcuts::Key>& DayShortcuts::table() {
    // Never a key that a text box takes for itself (Ctrl+E, Ctrl+D, Ctrl+A move and delete in
    // it), nor Ctrl+Space, which switches the seller's Chinese input method.
    static const QList<Key> keys{
        {QStringLiteral("提取订单"), QKeySequence(Qt::Key_F2)},
        {QStringLiteral("筛选"), QKeySequence(Qt::Key_F5)},
        {QStringLiteral("搜索"), QKeySequence(Qt::CTRL | Qt::Key_F)},
        {QStringLiteral("上一页"), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        {QStringLiteral("下一页"), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
        {QStringLiteral("打印快递单"), QKeySequence(Qt::CTRL | Qt::Key_P)},
        {QStringLiteral("打印发货单"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
        {QStringLiteral("勾选/取消本单"), QKeySequence(Qt::Key_F8)},
        {QStringLiteral("全选/取消"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)},
        {QStringLiteral("填写运单号"), QKeySequence(Qt::CTRL | Qt::Key_T)},
    };
    return keys;
}

namespace {

void click(QWidget* button) {
    if (auto* pushButton = qobject_cast<QAbstractButton*>(button))
        pushButton->click();
}

// The card the seller is in: its tick box changes as a click on it would.
void tickCurrentCard(const MainWindow& window) {
    const QWidget* focus = QApplication::focusWidget();
    for (OrderRowWidget* row : window.rows())
        if (row->isVisible() && focus && row->isAncestorOf(focus)) {
            row->selectionBox()->click();
            return;
        }
}

} // namespace

void DayShortcuts::install(MainWindow& window) {
    auto* list = new QMenu(QStringLiteral("列表"), window.menuBar());
    window.menuBar()->insertMenu(window.menu(MainWindow::Menu::Printing)->menuAction(), list);
    list->addAction(QStringLiteral("筛选"), &window, [&window] { click(window.filterButton()); });
    list->addAction(QStringLiteral("搜索"), &window, [&window] {
        window.searchKey()->setFocus(Qt::ShortcutFocusReason);
        window.searchKey()->selectAll();
    });
    list->addAction(QStringLiteral("上一页"), &window,
                    [&window] { click(window.previousPageButton()); });
    list->addAction(QStringLiteral("下一页"), &window,
                    [&window] { click(window.nextPageButton()); });
    list->addSeparator();
    list->addAction(QStringLiteral("勾选/取消本单"), &window,
                    [&window] { tickCurrentCard(window); });

    for (QMenu* menu : window.menuBar()->findChildren<QMenu*>())
        for (QAction* action : menu->actions())
            for (const Key& key : table())
                if (action->text() == key.caption)
                    action->setShortcut(key.key);
}

} // namespace mldd
