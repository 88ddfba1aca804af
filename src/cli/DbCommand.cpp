#include "Commands.h"

#include "core/OrderDatabase.h"
#include "core/StoreBackup.h"
#include "core/StoreCheck.h"
#include "core/StoreMigration.h"

#include <QDir>
#include <QFileInfo>

namespace mldd::cli {

namespace {

const QString kDbUsage = QStringLiteral(
    "用法: mldd-cli [--data DIR] db backup           现在备份订单数据库\n"
    "       mldd-cli [--data DIR] db list             列出备份，最新的在前\n"
    "       mldd-cli [--data DIR] db restore [FILE]   用备份恢复订单数据库（默认最近的备份）；\n"
    "                                                  恢复前请关闭墨岚打单，原来的数据库会留在\n"
    "                                                  backup 文件夹里\n"
    "       mldd-cli [--data DIR] db check            检查整个订单数据库（每天一次就够），\n"
    "                                                  只有索引损坏时重建索引，再做当天的备份\n"
    "       mldd-cli db migrate --from FILE --to postgresql://用户@服务器/数据库\n"
    "                                                  把这台电脑的订单数据库复制到共用的服务器上");

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

int backup(const DataFolder& folder) {
    QString message;
    const std::unique_ptr<OrderDatabase> database =
        OrderDatabase::open(folder.databasePath(), &message);
    if (!database)
        return fail(Failed, message);
    const std::optional<QString> made =
        StoreBackup(folder).make(*database, QDateTime::currentDateTime(), &message);
    if (!made)
        return fail(Failed, QStringLiteral("备份没有做成：") + message);
    writeOut(QStringLiteral("已备份：%1\n").arg(shown(*made)));
    return Success;
}

int list(const DataFolder& folder) {
    const QStringList backups = StoreBackup(folder).list();
    if (backups.isEmpty()) {
        writeOut(QStringLiteral("还没有备份。\n"));
        return Success;
    }
    QString text;
    for (const QString& path : backups)
        text += QStringLiteral("%1\t%2\t%3 KB\n")
                    .arg(shown(path),
                         StoreBackup::madeAt(path).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                    .arg((QFileInfo(path).size() + 1023) / 1024);
    writeOut(text);
    return Success;
}

int restore(const DataFolder& folder, const QStringList& args) {
    const StoreBackup backups(folder);
    QString chosen;
    if (args.isEmpty()) {
        const std::optional<QString> latest = backups.latest();
        if (!latest)
            return fail(Failed, QStringLiteral("没有可以恢复的备份。"));
        chosen = *latest;
    } else {
        // A bare name is looked for in the backup folder, as `db list` shows them.
        chosen = QFileInfo::exists(args.first())
                     ? args.first()
                     : QDir(backups.folderPath()).filePath(args.first());
    }
    QString message;
    if (!backups.restore(chosen, QDateTime::currentDateTime(), &message))
        return fail(Failed, message);
    writeOut(message + u'\n');
    return Success;
}

int check(const DataFolder& folder) {
    if (!QFileInfo(folder.databasePath()).isFile())
        return fail(Failed,
                    QStringLiteral("没有找到订单数据库 %1").arg(shown(folder.databasePath())));
    const StoreCheck::Result result = StoreCheck::run(folder, QDateTime::currentDateTime());
    const std::optional<Notice> notice = result.notice(folder);
    const bool failed = result.outcome == StoreCheck::Outcome::Damaged ||
                        result.outcome == StoreCheck::Outcome::Failed || !result.error.isEmpty();
    if (failed)
        return fail(Failed, notice->text);
    QString text = notice ? notice->text + u'\n' : QStringLiteral("订单数据库完好。\n");
    if (result.backup)
        text += QStringLiteral("已备份：%1\n").arg(shown(*result.backup));
    writeOut(text);
    return Success;
}

int migrate(QStringList args) {
    bool missing = false;
    const std::optional<QString> from = takeOption(args, QStringLiteral("from"), &missing);
    const std::optional<QString> to = takeOption(args, QStringLiteral("to"), &missing);
    const std::optional<StoreAddress> server = to ? StoreAddress::parseServer(*to) : std::nullopt;
    if (missing || !from || !server || !args.isEmpty())
        return fail(Usage, kDbUsage);
    // Opening a file that is not there would make an empty store of it.
    if (!QFileInfo(*from).isFile())
        return fail(Failed, QStringLiteral("没有找到要迁移的订单数据库 %1").arg(shown(*from)));
    QString message;
    const std::unique_ptr<OrderDatabase> source = OrderDatabase::open(*from, &message);
    if (!source)
        return fail(Failed, message);
    const std::unique_ptr<OrderDatabase> target = OrderDatabase::open(*server, &message);
    if (!target)
        return fail(Failed, message);
    const std::optional<MigrationCount> count = migrateStore(*source, *target, &message);
    if (!count)
        return fail(Failed, QStringLiteral("迁移没有做成，服务器上什么也没有改动：") + message);
    writeOut(count->text() + u'\n');
    return Success;
}

} // namespace

int runDb(const CliContext& context, QStringList args) {
    const QString action = args.isEmpty() ? QString() : args.takeFirst();
    if (action == u"backup" && args.isEmpty())
        return backup(context.dataFolder);
    if (action == u"list" && args.isEmpty())
        return list(context.dataFolder);
    if (action == u"restore" && args.size() <= 1)
        return restore(context.dataFolder, args);
    if (action == u"check" && args.isEmpty())
        return check(context.dataFolder);
    if (action == u"migrate")
        return migrate(args);
    return fail(Usage, kDbUsage);
}

} // namespace mldd::cli
