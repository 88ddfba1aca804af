#pragma once

#include <QString>

namespace mldd {

/**
 * Names a running process so that it can be told apart from any other, on
 * this host and later: host, process id and the moment the process started
 * ("host/pid:start"), so that a process id the system gave again to another
 * program is not taken for the one that wrote the name.
 */
class ProcessIdentity {
public:
    /** This process. */
    static QString current();

    /** The process `pid` of this host as it runs now (with no start when none runs). */
    static QString of(qint64 pid);

    /** Whether `identity` names this process. */
    static bool isCurrent(const QString& identity);

    /**
     * Whether the process `identity` names has ended. A process of another
     * host cannot be asked and counts as running; a bare process id (written
     * by earlier versions) is one of this host.
     */
    static bool ended(const QString& identity);
};

} // namespace mldd
