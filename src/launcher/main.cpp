// mldd-do: hands a page address or a print file to the running 墨岚打单 window,
// or starts one with it. Started by a browser's context-menu extension, it
// reads the page from one native message and answers it.
#include "NativeMessage.h"
#include "WindowStart.h"

#include "browser/ContextMenuHost.h"
#include "browser/HandOver.h"
#include "browser/SingleWindow.h"
#include "core/ProgramVersion.h"

#include <QCoreApplication>

#include <cstdio>

using namespace mldd;

namespace {

const char kUsage[] = "用法: mldd-do [--data DIR] 网页地址或打印文件 | --version\n";

int fail(int status, const QString& message) {
    std::fputs((message + u'\n').toUtf8().constData(), stderr);
    return status;
}

QStringList dataArguments(const QString& dataPath) {
    return dataPath.isEmpty() ? QStringList() : QStringList{QStringLiteral("--data"), dataPath};
}

} // namespace

int main(int argc, char* argv[]) {
    if (printedVersion(argc, argv))
        return 0;
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && (args.first() == u"--help" || args.first() == u"-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QString dataPath;
    if (args.size() >= 2 && args.first() == QStringLiteral("--data")) {
        dataPath = args.at(1);
        args = args.mid(2);
    }
    const DataFolder folder =
        dataPath.isEmpty() ? DataFolder::ofProgram(app.applicationDirPath()) : DataFolder(dataPath);
    const QString mldd = app.applicationDirPath() + QStringLiteral("/mldd");

    if (ContextMenuHost::isBrowserStart(args))
        return answerBrowser(folder, mldd, dataArguments(dataPath));

    const QString text = args.join(u' ');
    if (text.isEmpty() || text.startsWith(QStringLiteral("--")))
        return fail(2, QString::fromUtf8(kUsage));
    const HandOver::Reply reply = HandOver::sendToWindow(folder, text, {}, SingleWindow::kWaitMs);
    if (reply.delivered)
        return reply.ok ? 0 : fail(1, reply.message);
    if (reply.running)
        return fail(1, reply.undeliveredText(folder));
    if (!startWindow(mldd, dataArguments(dataPath) << text))
        return fail(1, QStringLiteral("墨岚打单没有启动：找不到 %1").arg(mldd));
    return 0;
}
