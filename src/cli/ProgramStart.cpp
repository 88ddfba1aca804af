#include "ProgramStart.h"

#include "CliContext.h"

#include "address/PlaceTable.h"
#include "core/MainState.h"
#include "core/Startup.h"
#include "shiplist/FaHuoSet.h"

#include <QDir>

namespace mldd::cli {

bool startProgram(MainState& state) {
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    hooks.defaultShippingDesign = DefaultFaHuoSet;
    hooks.searchIndexProgress = [](qint64 done, qint64 total) {
        writeError(QStringLiteral("正在建立搜索索引：%1 / %2\n").arg(done).arg(total));
        return true;
    };
    const StartupResult started = startUp(state, QString(), hooks);
    if (started.createdDataFolder)
        writeError(QStringLiteral("数据文件夹 %1 原来不存在，已经新建了一个（里面还没有订单）。\n")
                       .arg(QDir::toNativeSeparators(state.folder.dataPath())));
    if (!started.ok)
        writeError(started.failure->text + u'\n');
    if (started.restoreOffer)
        writeError(
            QStringLiteral("最近的备份是 %1；关闭墨岚打单后用 mldd-cli db restore 恢复它。\n")
                .arg(QDir::toNativeSeparators(*started.restoreOffer)));
    return started.ok;
}

} // namespace mldd::cli
