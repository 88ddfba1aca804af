#pragma once

#include "CliRun.h"
#include "FolderCopy.h"
#include "ServiceProcess.h"

#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/Startup.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mldd::test {

/**
 * A fresh copy of the shipped data folder with a real mldd-service behind it, as a seller
 * meets the program on a new machine; senders and the plan are set up with mldd-cli.
 */
class ServiceWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_service.port(), 0);
        copyFolder(QStringLiteral(MLDD_SOURCE_DIR "/data"), m_data);
        pointAtService(m_service.port());
    }

    void pointAtService(quint16 port) {
        QFile service(m_data + QStringLiteral("/../g_url.dat"));
        ASSERT_TRUE(service.open(QIODevice::WriteOnly));
        service.write(QStringLiteral("http://127.0.0.1:%1\r\n").arg(port).toUtf8());
    }

    void cli(const QStringList& args) {
        const CliRun run = runCli(QStringList{QStringLiteral("--data"), m_data} + args);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    void addSender(const QString& account) {
        cli({QStringLiteral("profile"), QStringLiteral("save"), QStringLiteral("--market"),
             QStringLiteral("淘宝"), QStringLiteral("--id"), account, QStringLiteral("--name"),
             QStringLiteral("王小明"), QStringLiteral("--address"),
             QStringLiteral("贵州省贵阳市南明区花果园R1区8栋")});
    }

    void start() {
        StartupHooks hooks;
        hooks.loadPlaceTable = loadPlaceTableInto;
        ASSERT_TRUE(startUp(m_state, QString(), hooks).ok);
        // The hint would open the help page in the system browser.
        m_state.options.setValue(ProgramOptions::kCaptureHintShown, 3);
        m_state.saveOptions();
    }

    QList<Order> orders() {
        const std::vector<qint64> ids = OrderStore(*m_state.database).allById();
        return OrderStore(*m_state.database).byIds(QList<qint64>(ids.begin(), ids.end()));
    }

    ServiceProcess m_service{
        {QStringLiteral("--content"), QStringLiteral(MLDD_BIN "/service/content")}};
    QTemporaryDir m_dir;
    QString m_data = m_dir.path() + QStringLiteral("/data");
    MainState m_state{DataFolder(m_data)};
};

} // namespace mldd::test
