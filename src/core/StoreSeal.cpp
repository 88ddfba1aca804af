#include "StoreSeal.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

#include <optional>

namespace mldd {

namespace {

QString notePath(const QString& path) {
    return path + QStringLiteral("-seal");
}

/** The file's identity as one line; none when it cannot be read. */
std::optional<QByteArray> identityOf(const QString& path) {
    struct stat file {};
    if (::stat(QFile::encodeName(path).constData(), &file) != 0)
        return std::nullopt;
    return QByteArray::number(qulonglong(file.st_dev)) + ' ' +
           QByteArray::number(qulonglong(file.st_ino)) + ' ' +
           QByteArray::number(qlonglong(file.st_size)) + ' ' +
           QByteArray::number(qlonglong(file.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(file.st_mtim.tv_nsec)) + ' ' +
           QByteArray::number(qlonglong(file.st_ctim.tv_sec)) + '.' +
           QByteArray::number(qlonglong(file.st_ctim.tv_nsec));
}

QString logPath(const QString& path) {
    return path + QStringLiteral("-wal");
}

/** A write-ahead log with anything in it: a connection still holds the store, or one did not close.
 */
bool logPresent(const QString& path) {
    const QFileInfo log(logPath(path));
    return log.exists() && log.size() > 0;
}

/** The store's identity and its log's, which every commit of any connection changes. */
std::optional<QByteArray> storeIdentityOf(const QString& path) {
    const std::optional<QByteArray> store = identityOf(path);
    if (!store || !logPresent(path))
        return store;
    const std::optional<QByteArray> log = identityOf(logPath(path));
    if (!log)
        return std::nullopt;
    return *store + '\n' + *log;
}

/**
 * Sets the file's modification time to `now`. The file system stamps a write with its
 * coarse clock (a few milliseconds); the fine clock's nanoseconds set here are not a
 * time any later write gets.
 */
bool stamp(const QString& path, const timespec& now) {
    const timespec times[2] = {{0, UTIME_OMIT}, now};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

/** What the note beside `path` holds; empty when there is none. */
QByteArray noted(const QString& path) {
    QFile note(notePath(path));
    return note.open(QIODevice::ReadOnly) ? note.readAll() : QByteArray();
}

} // namespace

void StoreSeal::seal(const QString& path) {
    if (intact(path))
        return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (!stamp(path, now) || (logPresent(path) && !stamp(logPath(path), now)))
        return;
    const std::optional<QByteArray> identity = storeIdentityOf(path);
    if (!identity)
        return;
    // Neither renamed into place nor synced, being made at every batch: a reader that
    // meets half a note, or a note lost in a crash, costs one look at the indexes.
    QFile note(notePath(path));
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate))
        note.write(*identity);
}

bool StoreSeal::intact(const QString& path) {
    const QByteArray note = noted(path);
    return !note.isEmpty() && storeIdentityOf(path) == note;
}

} // namespace mldd
