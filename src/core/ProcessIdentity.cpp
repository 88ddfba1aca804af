#include "ProcessIdentity.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>

namespace mldd {

namespace {

// Clock ticks from boot to the start of `pid` (field 22 of /proc/PID/stat); empty when no
// such process runs.
QString startOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    // The command name in parentheses may hold spaces and parentheses: count after its end.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int kStartAfterName = 22 - 3;
    return fields.size() > kStartAfterName ? QString::fromLatin1(fields[kStartAfterName])
                                           : QString();
}

} // namespace

QString ProcessIdentity::current() {
    return of(QCoreApplication::applicationPid());
}

QString ProcessIdentity::of(qint64 pid) {
    return QStringLiteral("%1/%2:%3").arg(QSysInfo::machineHostName()).arg(pid).arg(startOf(pid));
}

bool ProcessIdentity::isCurrent(const QString& identity) {
    return identity == current();
}

bool ProcessIdentity::ended(const QString& identity) {
    const qsizetype slash = identity.lastIndexOf(u'/');
    // A bare process id is how earlier versions wrote this host's journal lines.
    if (slash < 0)
        return startOf(identity.toLongLong()).isEmpty();
    if (identity.left(slash) != QSysInfo::machineHostName())
        return false;
    const qint64 pid = identity.mid(slash + 1).section(u':', 0, 0).toLongLong();
    return pid <= 0 || of(pid) != identity;
}

} // namespace mldd
