#include "StoreBackup.h"

#include "CompressedFile.h"
#include "OrderDatabase.h"
#include "StoreCheck.h"
#include "StoreFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>

namespace mldd {

namespace {

const QString kPrefix = QStringLiteral("mlddsj-");
const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
const QString kPlain = QStringLiteral(".db");
const QString kPacked = kPlain + CompressedFile::kSuffix;

QString stamp(const QDateTime& when) {
    return when.toString(kStampFormat);
}

// Copies the live store page by page; other programs may go on reading and writing.
bool copyStore(sqlite3* source, const QString& target, QString* error) {
    sqlite3* copy = nullptr;
    int code = sqlite3_open_v2(QFile::encodeName(target).constData(), &copy,
                               SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
        if (!backup) {
            code = sqlite3_errcode(copy);
        } else {
            do {
                code = sqlite3_backup_step(backup, -1);
                if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
                    sqlite3_sleep(50);
            } while (code == SQLITE_OK || code == SQLITE_BUSY || code == SQLITE_LOCKED);
            code = sqlite3_backup_finish(backup);
        }
    }
    if (code != SQLITE_OK && error)
        *error = QString::fromUtf8(sqlite3_errmsg(copy));
    sqlite3_close(copy);
    return code == SQLITE_OK;
}

bool moveAside(const QString& from, const QString& to, QString* message) {
    if (!QFile::exists(from) || QFile::rename(from, to))
        return true;
    if (message)
        *message = QStringLiteral("无法移动 %1").arg(QDir::toNativeSeparators(from));
    return false;
}

} // namespace

QStringList StoreBackup::list() const {
    QStringList paths;
    const QDir folder(folderPath());
    // Backups of earlier versions are whole database files; newer ones are packed.
    const QStringList names = folder.entryList({kPrefix + u'*' + kPlain, kPrefix + u'*' + kPacked},
                                               QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& name : names) {
        if (madeAt(name).isValid())
            paths.append(folder.filePath(name));
    }
    // Newest first by the time in the name, whatever its ending.
    std::stable_sort(paths.begin(), paths.end(),
                     [](const QString& a, const QString& b) { return madeAt(a) > madeAt(b); });
    return paths;
}

QString StoreBackup::entryCaption() const {
    const std::optional<QString> last = latest();
    if (!last)
        return QStringLiteral("备份订单数据库（还没有备份）");
    const qint64 bytes = QFileInfo(*last).size();
    const QString size = bytes >= 1024 * 1024
                             ? QStringLiteral("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 1)
                             : QStringLiteral("%1 KB").arg((bytes + 1023) / 1024);
    return QStringLiteral("备份订单数据库（上次 %1，%2）")
        .arg(madeAt(*last).toString(QStringLiteral("yyyy-MM-dd HH:mm")), size);
}

std::optional<QString> StoreBackup::latest() const {
    const QStringList paths = list();
    if (paths.isEmpty())
        return std::nullopt;
    return paths.first();
}

QDateTime StoreBackup::madeAt(const QString& backupPath) {
    const QString name = QFileInfo(backupPath).fileName();
    if (!name.startsWith(kPrefix))
        return {};
    return QDateTime::fromString(name.mid(kPrefix.size(), kStampFormat.size()), kStampFormat);
}

QStringList StoreBackup::kept(const QStringList& newestFirst, qint64 storeBytes) {
    QStringList keep;
    qint64 total = 0;
    for (const QString& path : newestFirst) {
        total += QFileInfo(path).size();
        // The newest is always kept: it is the one a damaged store goes back to.
        if (!keep.isEmpty() && (keep.size() >= kKept || total > kMostTimesStore * storeBytes))
            break;
        keep.append(path);
    }
    return keep;
}

Notice StoreBackup::restoreQuestion(const QString& damage, const QString& backupPath) {
    return Notice{damage +
                      QStringLiteral("\r\n\r\n最近的备份是 %1（%2）。\r\n"
                                     "是否用它恢复订单数据库？原来的文件会保留在 backup "
                                     "文件夹里。")
                          .arg(QFileInfo(backupPath).fileName(),
                               madeAt(backupPath).toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
                  QStringLiteral("墨岚打单"), Notice::Icon::Exclamation, Notice::Buttons::YesNo};
}

std::optional<QString> StoreBackup::make(OrderDatabase& database, const QDateTime& now,
                                         QString* error) {
    if (database.isServer()) {
        if (error)
            *error = QStringLiteral("订单数据库在服务器 %1 上，请用服务器自己的备份。")
                         .arg(database.path());
        return std::nullopt;
    }
    return makeFrom(database.handle(), now, error);
}

std::optional<QString> StoreBackup::makeFrom(sqlite3* source, const QDateTime& now,
                                             QString* error) {
    if (!QDir().mkpath(folderPath())) {
        if (error)
            *error =
                QStringLiteral("无法创建备份文件夹 %1").arg(QDir::toNativeSeparators(folderPath()));
        return std::nullopt;
    }
    const QString target = QDir(folderPath()).filePath(kPrefix + stamp(now) + kPacked);
    // Copied whole first, then packed under another name and renamed, so that a
    // cut backup never passes for one.
    const QString copy =
        QDir(folderPath()).filePath(kPrefix + stamp(now) + kPlain + QStringLiteral(".part"));
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(copy);
    QFile::remove(partial);
    const bool packed =
        copyStore(source, copy, error) && CompressedFile::pack(copy, partial, error);
    QFile::remove(copy);
    if (!packed) {
        QFile::remove(partial);
        return std::nullopt;
    }
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        if (error)
            *error = QStringLiteral("无法保存备份 %1").arg(QDir::toNativeSeparators(target));
        return std::nullopt;
    }
    const QStringList all = list();
    // The store is its file and its write-ahead log.
    const QString store = m_folder.databasePath();
    const QStringList keep =
        kept(all, QFileInfo(store).size() + QFileInfo(store + QStringLiteral("-wal")).size());
    for (const QString& path : all) {
        if (!keep.contains(path))
            QFile::remove(path);
    }
    return target;
}

QString StoreBackup::restoredText(const QString& backupPath, const QString& aside) {
    const QString made = madeAt(backupPath).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return QStringLiteral(
               "订单数据库已用备份 %1 恢复，原来的数据库保存在 %2。\r\n"
               "备份是 %3 做的，之后的改动都不在里面：\r\n"
               "・%3 以后提取的订单要重新提取（已提取记录也回到了那时，可以再提取）；\r\n"
               "・%3 以后打印的订单在这里显示为未打印，请核对后重新标记，"
               "免得打印两次。")
        .arg(QFileInfo(backupPath).fileName(), QDir::toNativeSeparators(aside), made);
}

bool StoreBackup::restore(const QString& backupPath, const QDateTime& now, QString* message) const {
    if (!QFileInfo(backupPath).isFile()) {
        if (message)
            *message =
                QStringLiteral("找不到备份文件 %1").arg(QDir::toNativeSeparators(backupPath));
        return false;
    }
    const QString store = m_folder.databasePath();
    const QString incoming = store + QStringLiteral(".restoring");
    QFile::remove(incoming);
    QString unpackError;
    const bool copied = backupPath.endsWith(CompressedFile::kSuffix)
                            ? CompressedFile::unpack(backupPath, incoming, &unpackError)
                            : QFile::copy(backupPath, incoming);
    if (!copied) {
        QFile::remove(incoming);
        if (message)
            *message = QStringLiteral("无法读出备份 %1，订单数据库没有改动。%2")
                           .arg(QDir::toNativeSeparators(backupPath), unpackError);
        return false;
    }
    // A backup that is itself damaged must not replace anything: it is read whole.
    {
        QString refused;
        const std::unique_ptr<OrderDatabase> opened = OrderDatabase::open(incoming, &refused);
        if (opened) {
            const QStringList problems = StoreCheck::problemsOf(opened->handle(), &refused);
            if (!problems.isEmpty())
                refused = StoreFailure{StoreFailure::Kind::Corrupt, problems.join(u'\n')}.text(
                    backupPath);
        }
        if (!refused.isEmpty()) {
            QFile::remove(incoming);
            if (message)
                *message = QStringLiteral("备份 %1 不能用：%2\r\n订单数据库没有改动。")
                               .arg(QFileInfo(backupPath).fileName(), refused);
            return false;
        }
    }
    QDir().mkpath(folderPath());
    const QString aside =
        QDir(folderPath())
            .filePath(QStringLiteral("before-restore-") + stamp(now) + QStringLiteral(".db"));
    // The old store and its write-ahead log go together; the shared-memory index is rebuilt.
    if (!moveAside(store, aside, message) ||
        !moveAside(store + QStringLiteral("-wal"), aside + QStringLiteral("-wal"), message)) {
        QFile::remove(incoming);
        return false;
    }
    QFile::remove(store + QStringLiteral("-shm"));
    if (!QFile::rename(incoming, store)) {
        if (message)
            *message = QStringLiteral("无法放回备份，原来的数据库在 %1。")
                           .arg(QDir::toNativeSeparators(aside));
        return false;
    }
    StoreCheck::forgetDamage(store);
    if (message)
        *message = restoredText(backupPath, aside);
    return true;
}

} // namespace mldd
