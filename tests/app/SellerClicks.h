#pragma once

#include "Eventually.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace mldd::test {

/** Counts the mouse clicks a seller makes through a window: lists, menus and buttons. */
class SellerClicks {
public:
    int count() const { return m_count; }

    void click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton);
        ++m_count;
    }

    /** Opens `list` with one click and picks `text` in it with another. */
    void pick(QComboBox* list, const QString& text) {
        // On its arrow: a list one may also type into opens only there.
        QTest::mouseClick(list, Qt::LeftButton, {}, QPoint(list->width() - 6, list->height() / 2));
        ++m_count;
        QAbstractItemView* view = list->view();
        ASSERT_TRUE(view->isVisible()) << list->accessibleName().toStdString();
        const int row = list->findText(text);
        ASSERT_GE(row, 0) << text.toStdString();
        // A long list shows part of itself; the seller scrolls to the entry first.
        view->scrollTo(list->model()->index(row, 0));
        // A list ignores a release that comes within a double-click of its opening (its coarse
        // timer may run 5% over), as a seller's second click never does.
        QTest::qWait(QApplication::doubleClickInterval() * 3 / 2);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(list->model()->index(row, 0)).center());
        ++m_count;
        // The window platform of the tests leaves the closed popup active; a desktop's window
        // manager gives the window back, and the seller's keys go to it.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !QApplication::activePopupWidget(); }));
        list->window()->activateWindow();
        ASSERT_TRUE(becomes([&] { return QApplication::activeWindow(); }, list->window()));
        EXPECT_EQ(list->currentText(), text);
    }

    /** Opens the menu of `bar` that holds `entry` and clicks the entry. */
    void chooseMenuEntry(QMenuBar* bar, QAction* entry) {
        for (QAction* top : bar->actions()) {
            QMenu* menu = top->menu();
            if (!menu || !menu->actions().contains(entry))
                continue;
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
            ++m_count;
            ASSERT_TRUE(menu->isVisible());
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
            ++m_count;
            return;
        }
        ADD_FAILURE() << "no menu holds " << entry->text().toStdString();
    }

private:
    int m_count = 0;
};

} // namespace mldd::test
