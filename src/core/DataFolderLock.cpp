#include "DataFolderLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace mldd {

namespace {

// A whole-file write lock owned by the open file, not the process: closing
// another descriptor of the same file in this process does not drop it.
struct flock wholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

} // namespace

QString DataFolderLock::path(const DataFolder& folder) {
    return folder.file(QStringLiteral("mldd.lock"));
}

std::optional<DataFolderLock::Holder> DataFolderLock::holder(const DataFolder& folder) {
    const int descriptor =
        ::open(QFile::encodeName(path(folder)).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0)
        return std::nullopt;
    struct flock probe = wholeFile(F_WRLCK);
    const bool held = ::fcntl(descriptor, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    char buffer[4096];
    const ssize_t got = held ? ::pread(descriptor, buffer, sizeof buffer, 0) : 0;
    ::close(descriptor);
    if (!held)
        return std::nullopt;
    const QStringList lines = QString::fromUtf8(buffer, std::max<ssize_t>(got, 0)).split(u'\n');
    Holder found;
    found.pid = lines.value(0).toLongLong();
    found.address = lines.value(1);
    return found;
}

DataFolderLock::DataFolderLock(DataFolder folder) : m_folder(std::move(folder)) {}

DataFolderLock::~DataFolderLock() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

DataFolderLock::Take DataFolderLock::take() {
    if (m_descriptor >= 0)
        return Take::Taken;
    m_folder.ensureExists();
    // Close-on-exec: a browser or printer tool started by the window must not inherit the hold.
    const int descriptor = ::open(QFile::encodeName(path(m_folder)).constData(),
                                  O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return Take::Unavailable;
    struct flock lock = wholeFile(F_WRLCK);
    if (::fcntl(descriptor, F_OFD_SETLK, &lock) != 0) {
        const int error = errno;
        ::close(descriptor);
        return error == EAGAIN || error == EACCES ? Take::HeldByOther : Take::Unavailable;
    }
    m_descriptor = descriptor;
    publish(QString()); // what a killed window left there is no longer true
    return Take::Taken;
}

bool DataFolderLock::publish(const QString& address) {
    if (m_descriptor < 0)
        return false;
    const QByteArray text = QByteArray::number(qint64(::getpid())) + '\n' + address.toUtf8() + '\n';
    return ::ftruncate(m_descriptor, 0) == 0 &&
           ::pwrite(m_descriptor, text.constData(), size_t(text.size()), 0) == text.size();
}

} // namespace mldd
