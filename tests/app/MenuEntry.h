#pragma once

#include "MainWindow.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

namespace mldd::test {

/** The entry of one of the window's menus with `caption`; null (and a failure) when none. */
inline QAction* menuEntry(const MainWindow& window, MainWindow::Menu menu, const QString& caption) {
    for (QAction* action : window.menu(menu)->actions())
        if (action->text() == caption)
            return action;
    ADD_FAILURE() << "no menu entry " << caption.toStdString();
    return nullptr;
}

} // namespace mldd::test
