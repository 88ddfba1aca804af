#include "ServiceRoutes.h"
#include "ServiceServer.h"

#include "core/DataFolder.h"
#include "core/ProgramVersion.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace mldd::service;

namespace {

const char kUsage[] =
    "用法: mldd-service [--content DIR] [--port N] | --version\n"
    "  --content DIR  回答请求的内容目录（默认：程序旁边的 service/content，安装后是 /usr/share/mldd/service/content）\n"
    "  --port N       在 127.0.0.1 上监听的端口（默认 8717；0 表示任选一个空闲端口）\n";

int fail(int status, const QString& message) {
    std::fputs(message.toUtf8().constData(), stderr);
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    if (mldd::printedVersion(argc, argv))
        return 0;
    QCoreApplication app(argc, argv);
    const QString installed = mldd::DataFolder::installedFiles(app.applicationDirPath());
    QString contentPath = (installed.isEmpty() ? app.applicationDirPath() : installed) +
                          QStringLiteral("/service/content");
    quint16 port = 8717;

    QStringList args = app.arguments().mid(1);
    while (!args.isEmpty()) {
        const QString option = args.takeFirst();
        if (option == u"--help" || option == u"-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (args.isEmpty() || (option != u"--content" && option != u"--port"))
            return fail(2, QString::fromUtf8(kUsage));
        const QString value = args.takeFirst();
        if (option == u"--content") {
            contentPath = value;
            continue;
        }
        bool ok = false;
        const uint number = value.toUInt(&ok);
        if (!ok || number > 65535)
            return fail(2, QStringLiteral("端口必须是 0 到 65535 之间的整数：%1\n").arg(value));
        port = quint16(number);
    }

    const ServiceRoutes routes(contentPath);
    if (!routes.content().isValid())
        return fail(
            1, QStringLiteral("内容目录不存在：%1\n").arg(QDir::toNativeSeparators(contentPath)));
    ServiceServer server(routes);
    if (!server.listen(QHostAddress::LocalHost, port))
        return fail(
            1, QStringLiteral("不能在端口 %1 上监听：%2\n").arg(port).arg(server.errorString()));

    // The first line tells scripts and tests where the service answers.
    std::printf("mldd-service http://127.0.0.1:%u/ %s\n", unsigned(server.port()),
                routes.content().root().toUtf8().constData());
    std::fflush(stdout);
    return app.exec();
}
