#pragma once

#include "address/ExpressPlan.h"
#include "address/PlaceTable.h"
#include "address/PlanPanel.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mldd::test {

/** A started program with the shipped place table, one sender, two templates and a plan. */
class CaptureFixture : public ::testing::Test {
protected:
    static constexpr const char* kSender = "淘宝:墨岚小店";

    CaptureFixture() : m_state(DataFolder(m_dir.path() + QStringLiteral("/data"))) {}

    void SetUp() override {
        const DataFolder& folder = m_state.folder;
        QDir().mkpath(folder.file(QStringLiteral("code")));
        QDir().mkpath(folder.file(QStringLiteral("Delivery")));
        QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"),
                    folder.file(QStringLiteral("code/Area.txt")));
        for (const char* name : {"圆通", "顺丰"})
            QFile(folder.file(QStringLiteral("Delivery/%1.mlg").arg(QString::fromUtf8(name))))
                .open(QIODevice::WriteOnly);
        StartupHooks hooks;
        hooks.loadPlaceTable = loadPlaceTableInto;
        ASSERT_TRUE(startUp(m_state, QString(), hooks).ok);

        QSqlDatabase db = m_state.database->connection();
        QSqlQuery addSender(db);
        addSender.prepare(QStringLiteral("insert into my_data (my_idh) values (?)"));
        addSender.addBindValue(QString::fromUtf8(kSender));
        addSender.exec();
        m_state.profiles = SenderProfile::loadAll(db, m_state.log);
        ExpressPlan plan = ExpressPlan::fromText(m_state.settings.selectKD);
        plan.items = {QStringLiteral("T")};
        for (const QString& province : PlanPanel::provinces())
            plan.items << province << QStringLiteral("圆通");
        m_state.settings.selectKD = plan.toText();
    }

    /** The bytes of a file; none when it is missing. */
    static QByteArray fileBytes(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    /** A file of the repository (a sample page, the service's content). */
    static QByteArray repositoryFile(const QString& path) {
        return fileBytes(QStringLiteral(MLDD_SOURCE_DIR "/") + path);
    }

    static QString samplePage(const QString& name) {
        return TextCodec::decodeFileBytes(repositoryFile(QStringLiteral("samples/") + name));
    }

    /** The service's decode file of a page key. */
    static QByteArray servedDecodeFile(const QString& pageKey) {
        return repositoryFile(QStringLiteral("service/content/code/") + pageKey +
                              QStringLiteral(".dat"));
    }

    /** Puts a decode file on disk, as an earlier capture would have left it. */
    void installDecodeFile(const QString& pageKey, const QByteArray& text) {
        QFile file(m_state.folder.file(QStringLiteral("code/") + pageKey + QStringLiteral(".dat")));
        file.open(QIODevice::WriteOnly);
        file.write(text);
    }

    QList<Order> storedOrders() {
        const std::vector<qint64> ids = OrderStore(*m_state.database).allById();
        return OrderStore(*m_state.database).byIds(QList<qint64>(ids.begin(), ids.end()));
    }

    QTemporaryDir m_dir;
    MainState m_state;
};

} // namespace mldd::test
