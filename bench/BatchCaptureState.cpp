#include "BatchCaptureState.h"

#include "BatchPage.h"

#include "address/PlaceTable.h"
#include "capture/PageKey.h"
#include "core/Startup.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

namespace mldd::bench {

QString sellerStoreFolder(int orders) {
    return QDir::tempPath() + QStringLiteral("/mldd-bench-seller-%1/data").arg(orders);
}

BatchCaptureState::BatchCaptureState() : BatchCaptureState(QString()) {}

BatchCaptureState::BatchCaptureState(const QString& dataPath)
    : state(DataFolder(dataPath.isEmpty() ? dir.path() + QStringLiteral("/data") : dataPath)) {
    QDir().mkpath(state.folder.file(QStringLiteral("code")));
    QFile::copy(QStringLiteral(MLDD_SOURCE_DIR "/data/code/Area.txt"),
                state.folder.file(QStringLiteral("code/Area.txt")));
    QFile rules(state.folder.file(QStringLiteral("code/") + *pageKeyOf(kAddress) + ".dat"));
    rules.open(QIODevice::WriteOnly);
    rules.write(batchPageRules().toUtf8());
    rules.close();
    StartupHooks hooks;
    hooks.loadPlaceTable = loadPlaceTableInto;
    startUp(state, QString(), hooks);
    QSqlDatabase db = state.database->connection();
    QSqlQuery(db).exec(QStringLiteral("insert into my_data (my_idh) select '其他:我的id' where not "
                                      "exists (select 1 from my_data where my_idh = '其他:我的id')"));
    state.profiles = SenderProfile::loadAll(db, state.log);
}

void BatchCaptureState::clearOrders() {
    QSqlQuery(state.database->connection()).exec(QStringLiteral("delete from order_data"));
    QSqlQuery(state.database->connection()).exec(QStringLiteral("delete from captured_numbers"));
}

} // namespace mldd::bench
