#include "StoreSeal.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

/** A write-ahead log with anything in it: another connection, or one that did not close. */
bool logPresent(const QString& path) {
    const QFileInfo log(path + QStringLiteral("-wal"));
    return log.exists() && log.size() > 0;
}

/** What the note beside `path` holds; empty when there is none. */
QByteArray noted(const QString& path) {
    QFile note(notePath(path));
    return note.open(QIODevice::ReadOnly) ? note.readAll() : QByteArray();
}

} // namespace

void StoreSeal::seal(const QString& path) {
    if (logPresent(path) || intact(path))
        return;
    // The file system stamps a write with its coarse clock (a few milliseconds);
    // the fine clock's nanoseconds set here are not a time any later write gets.
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const timespec times[2] = {{0, UTIME_OMIT}, now};
    if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0)
        return;
    const std::optional<QByteArray> identity = identityOf(path);
    if (!identity)
        return;
    QSaveFile note(notePath(path));
    if (note.open(QIODevice::WriteOnly) && note.write(*identity) == identity->size())
        note.commit();
}

bool StoreSeal::intact(const QString& path) {
    const QByteArray note = noted(path);
    return !note.isEmpty() && !logPresent(path) && identityOf(path) == note;
}

} // namespace mldd
