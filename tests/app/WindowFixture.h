#pragma once

#include "ModalAnswers.h"

#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/NumSign.h"
#include "core/Startup.h"
#include "shiplist/FaHuoSet.h"
#include "workbench/ProfileEditing.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace mldd::test {

/** Types `text` into a focused box as a Chinese input method commits it. */
inline void typeText(QWidget* box, const QString& text) {
    box->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

// The fields a screen reader would announce without a name: each by its class and place.
inline QStringList unnamedFields(QWidget& window) {
    window.show();
    QStringList unnamed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const bool field =
            qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
            qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
            qobject_cast<QListWidget*>(widget);
        // A combo box's own line edit is announced through the combo box.
        if (!field || !widget->isVisibleTo(&window) ||
            qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.append(QString::fromLatin1(widget->metaObject()->className()) +
                           QStringLiteral(" in ") +
                           QString::fromLatin1(widget->parentWidget()->metaObject()->className()));
    }
    return unnamed;
}

/** A program started on a fresh data folder with the shipped place table, as mldd starts. */
class WindowFixture : public ::testing::Test {
protected:
    WindowFixture() : m_state(DataFolder(m_dir.path() + QStringLiteral("/data"))) {}

    void SetUp() override {
        QDir().mkpath(m_state.folder.file(QStringLiteral("code")));
        QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"),
                    m_state.folder.file(QStringLiteral("code/Area.txt")));
        StartupHooks hooks;
        hooks.loadPlaceTable = loadPlaceTableInto;
        hooks.defaultShippingDesign = DefaultFaHuoSet;
        ASSERT_TRUE(startUp(m_state, QString(), hooks).ok);
    }

    void addProfile(const QString& id, const QString& address = QStringLiteral("贵阳市南明区")) {
        SenderProfile profile;
        profile.myIdh = id;
        profile.address = address;
        ASSERT_FALSE(ProfileEditing::save(m_state, QString(), profile, DefaultFaHuoSet));
    }

    /** Installs shipped courier templates in the data folder, as a seller's folder holds them. */
    void installTemplates(const QStringList& names) {
        QDir().mkpath(m_state.folder.file(QStringLiteral("Delivery")));
        for (const QString& name : names)
            for (const QString extension : {".mlg", ".mlm"})
                QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/Delivery/") + name + extension,
                            m_state.folder.file(QStringLiteral("Delivery/") + name + extension));
        m_state.templates = installedTemplateNames(m_state.folder);
    }

    QList<qint64> storeOrders(int count, const QString& sender = QString()) {
        QList<Order> orders(count);
        for (int i = 0; i < count; ++i) {
            orders[i].myId = sender;
            orders[i].orderSign = QStringLiteral("淘宝:%1").arg(i + 1);
            orders[i].numSign = numSignOf(orders[i].orderSign);
            orders[i].buyName = QStringLiteral("收货人%1").arg(i + 1);
            orders[i].buyAddress = QStringLiteral("花溪大道%1号").arg(i + 1);
            orders[i].buyGoods = QStringLiteral("商品%1 1 10.00").arg(i + 1);
        }
        OrderWriteRule rule;
        EXPECT_TRUE(OrderStore(*m_state.database).insert(orders, rule));
        m_state.requery();
        QList<qint64> ids;
        for (const Order& order : orders)
            ids.append(order.id);
        return ids;
    }

    Order order(qint64 id) { return OrderStore(*m_state.database).byId(id).value(); }

    QList<Order> allOrders() {
        OrderStore store(*m_state.database);
        QList<qint64> ids;
        for (qint64 id : store.allById())
            ids.append(id);
        return store.byIds(ids);
    }

    QTemporaryDir m_dir;
    MainState m_state;
};

} // namespace mldd::test
