#include "StoreFailure.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QStorageInfo>

#include <sqlite3.h>

namespace mldd {

namespace {

// Below this, SQLite cannot grow its journal or its file any more.
constexpr qint64 kNearlyFull = 512 * 1024;

bool folderWritable(const QString& path) {
    return QFileInfo(QFileInfo(path).absolutePath()).isWritable();
}

bool diskNearlyFull(const QString& path) {
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() && storage.bytesAvailable() < kNearlyFull;
}

} // namespace

StoreFailure StoreFailure::fromCode(int code, const QString& detail, const QString& path) {
    StoreFailure failure{Kind::Other, detail};
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return {};
    case SQLITE_READONLY:
    case SQLITE_PERM:
        failure.kind = Kind::ReadOnly;
        break;
    case SQLITE_FULL:
        failure.kind = Kind::Full;
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        failure.kind = Kind::Locked;
        break;
    case SQLITE_CORRUPT:
        failure.kind = Kind::Corrupt;
        break;
    case SQLITE_NOTADB:
        failure.kind = Kind::NotADatabase;
        break;
    default:
        // "Cannot open" and input/output errors hide the cause; the folder shows it.
        if (!folderWritable(path) || (QFileInfo::exists(path) && !QFileInfo(path).isWritable()))
            failure.kind = Kind::ReadOnly;
        else if (diskNearlyFull(path))
            failure.kind = Kind::Full;
        break;
    }
    return failure;
}

StoreFailure StoreFailure::fromError(const QSqlError& error, const QString& path) {
    if (error.type() == QSqlError::NoError)
        return {};
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    return fromCode(numeric ? code : SQLITE_ERROR, text, path);
}

StoreFailure StoreFailure::fromServerError(const QSqlError& error) {
    if (error.type() == QSqlError::NoError)
        return {};
    // libpq's first line says what happened; "DETAIL" lines repeat the row.
    QString detail = (error.databaseText().isEmpty() ? error.text() : error.databaseText())
                         .section(u'\n', 0, 0)
                         .trimmed();
    detail.remove(QRegularExpression(QStringLiteral("^(ERROR|FATAL):\\s*")));
    const QString state = error.nativeErrorCode();
    const auto says = [&](const char* words) {
        return detail.contains(QLatin1String(words), Qt::CaseInsensitive);
    };
    StoreFailure failure{Kind::Other, detail};
    // Errors of a query carry an SQLSTATE; a refused connection only libpq's words.
    if (state.startsWith(QLatin1String("28")) || says("password authentication failed") ||
        says("no password supplied") || says("authentication failed"))
        failure.kind = Kind::LoginRefused;
    else if (state == QLatin1String("3D000") || (says("database \"") && says("does not exist")))
        failure.kind = Kind::NoSuchDatabase;
    else if (state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P")) ||
             says("server closed the connection") || says("terminating connection") ||
             says("no connection to the server") || says("connection not open"))
        failure.kind = Kind::ConnectionLost;
    else if (state == QLatin1String("53100"))
        failure.kind = Kind::Full;
    else if (state == QLatin1String("25006") || state == QLatin1String("42501"))
        failure.kind = Kind::NotPermitted;
    else if (state == QLatin1String("55P03") || state == QLatin1String("40P01"))
        failure.kind = Kind::Locked;
    else if (error.type() == QSqlError::ConnectionError)
        failure.kind = Kind::Unreachable;
    return failure;
}

QString StoreFailure::text(const QString& path) const {
    const QString file = QDir::toNativeSeparators(path);
    switch (kind) {
    case Kind::ReadOnly:
        return QStringLiteral("订单数据库 %1 是只读的：数据文件夹或这个文件不允许写入。\r\n"
                              "请检查文件夹的权限，或把数据文件夹放到可以写入的位置。")
            .arg(file);
    case Kind::Full:
        return QStringLiteral("磁盘空间已满，订单数据库 %1 无法写入。\r\n"
                              "请清理磁盘后再试；已经保存的订单没有改动。")
            .arg(file);
    case Kind::Locked:
        return QStringLiteral("订单数据库 %1 正被另一个程序占用，这次没有保存。\r\n"
                              "请等它完成后再试。")
            .arg(file);
    case Kind::Corrupt:
        return QStringLiteral("订单数据库 %1 已经损坏，软件没有再往里写。").arg(file);
    case Kind::NotADatabase:
        return QStringLiteral("订单数据库 %1 无法打开：这个文件不是数据库，或者已经损坏。\r\n"
                              "软件没有改动这个文件，请把它备份后再处理。")
            .arg(file);
    case Kind::Other:
        return QStringLiteral("订单数据库 %1 出错：%2").arg(file, detail);
    case Kind::Unreachable:
        return QStringLiteral("连不上订单数据库服务器 %1：服务器没有运行，或者地址不对。\r\n"
                              "请检查服务器和设置里的数据库地址；已经保存的订单没有改动。")
            .arg(file);
    case Kind::LoginRefused:
        return QStringLiteral("订单数据库服务器 %1 不让登录：用户名或密码不对。\r\n"
                              "请在设置里改正数据库地址和密码。")
            .arg(file);
    case Kind::NoSuchDatabase:
        return QStringLiteral("订单数据库服务器上没有 %1 这个数据库。\r\n"
                              "请先在服务器上建立它，或在设置里改正数据库地址。")
            .arg(file);
    case Kind::ForeignDatabase:
        return QStringLiteral("%1 是别的程序的数据库，软件没有往里写。\r\n"
                              "请在设置里换一个专给墨岚打单用的数据库。")
            .arg(file);
    case Kind::NotPermitted:
        return QStringLiteral(
                   "订单数据库服务器 %1 拒绝了这次写入：登录的用户没有这个权限（%2）。\r\n"
                   "请服务器的管理员给这个用户建表和写入的权限，或在设置里换一个用户；"
                   "已经保存的订单没有改动。")
            .arg(file, detail);
    case Kind::ChangedElsewhere:
        return QStringLiteral("订单%1刚被别的打包台改过，这次没有保存，免得把那边的修改盖掉。\r\n"
                              "请看一下它现在的内容，再重新修改。")
            .arg(detail);
    case Kind::ConnectionLost:
        return QStringLiteral("和订单数据库服务器 %1 的连接断了，这次没有保存。\r\n"
                              "请等服务器恢复后再试；已经保存的订单没有改动。")
            .arg(file);
    case Kind::None:
        break;
    }
    return QString();
}

} // namespace mldd
