#pragma once

#include <QString>
#include <QUrl>

namespace mldd {

/**
 * The maker's service on this machine: a seller who installed the package has
 * nothing else that starts mldd-service, so the window starts it when the
 * configured address is on loopback and nothing answers there. A service on
 * another machine is only ever asked, never started.
 */
namespace LocalService {

enum class Outcome {
    Answering,   // something already answers at the address
    Started,     // mldd-service was started beside the program and now answers
    NotLoopback, // the address is another machine's (or not an http address): left alone
    NotStarted,  // mldd-service is missing, or did not answer in time
};

/** What ensure() found or did; `pid` is the started service's. */
struct Ensured {
    Outcome outcome;
    qint64 pid = 0;
};

/** Whether `address` names this machine: 127.0.0.0/8, ::1 or localhost. */
bool isLoopback(const QUrl& address);

/** Whether a connection to the address's host and port is taken within `waitMs`. */
bool answers(const QUrl& address, int waitMs);

/**
 * Starts `programFolder`/mldd-service on the port of `serviceBase` when that is
 * a loopback address nobody answers, and waits up to `waitMs` for it to answer.
 * The service is left running when the window ends, as a user service would be.
 */
Ensured ensure(const QString& serviceBase, const QString& programFolder, int waitMs = 3000);

} // namespace LocalService
} // namespace mldd
