#include "Commands.h"
#include "ProgramStart.h"

#include "capture/DecodeMaintenance.h"
#include "capture/PageKey.h"
#include "core/MainState.h"

namespace mldd::cli {

namespace {
const QString kDecodeFilesUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] decode-files refresh --url URL   取该页面解码文件的新版本\n"
    "       mldd-cli [--data DIR] decode-files repair             "
    "删除全部解码文件，下次提取时重新下载\n"
    "       mldd-cli [--data DIR] decode-files check              "
    "按服务器的解码文件清单清理过期的解码文件");
} // namespace

int runDecodeFiles(const CliContext& context, QStringList args) {
    bool missingValue = false;
    const QString action = args.isEmpty() ? QString() : args.takeFirst();
    const std::optional<QString> url = takeOption(args, QStringLiteral("url"), &missingValue);
    const bool refresh = action == QStringLiteral("refresh");
    if (missingValue || !args.isEmpty() || refresh != url.has_value() ||
        !QStringList{"refresh", "repair", "check"}.contains(action))
        return fail(Usage, kDecodeFilesUsage);
    MainState state(context.dataFolder, context.database);
    if (!startProgram(state))
        return Failed;
    const ServiceClient service;

    if (refresh) {
        const std::optional<QString> key = pageKeyOf(*url);
        if (!key)
            return fail(Usage, QStringLiteral("网页地址太短：%1").arg(*url));
        const DecodeMaintenance::Refresh result =
            DecodeMaintenance::refreshDecodeFile(state, *key, service);
        if (!result.updated)
            return fail(Failed, result.notice ? result.notice->text : QString());
        writeOut(QStringLiteral("解码文件已更新：%1\n").arg(*key));
        return Success;
    }
    if (action == QStringLiteral("repair")) {
        const bool online = DecodeMaintenance::serviceOnline(state.serviceBase, service);
        const Notice told = DecodeMaintenance::repairExtraction(state, online);
        if (!online)
            return fail(Failed, told.text);
        writeOut(told.text + u'\n');
        return Success;
    }
    const DecodeMaintenance::Check check = DecodeMaintenance::checkDecodeFiles(state, service);
    if (!check.ok)
        return fail(Failed, check.notice.text);
    writeOut(check.notice.text + u'\n');
    return Success;
}

} // namespace mldd::cli
