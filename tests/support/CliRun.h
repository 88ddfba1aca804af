#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

namespace mldd::test {

/** What one run of mldd-cli gave: its exit status and its output, as bytes and as text. */
struct CliRun {
    int exitCode = -1;
    QByteArray outBytes;
    QByteArray errBytes;
    QString out;
    QString err;
};

/** Runs mldd-cli to its end; a run that takes longer than `limitMs` is left unfinished. */
inline CliRun runCli(const QStringList& args, int limitMs = 60000) {
    QProcess process;
    process.start(QStringLiteral(MLDD_CLI), args);
    process.waitForFinished(limitMs);
    CliRun run{process.exitCode(),
               process.readAllStandardOutput(),
               process.readAllStandardError(),
               {},
               {}};
    run.out = QString::fromUtf8(run.outBytes);
    run.err = QString::fromUtf8(run.errBytes);
    return run;
}

/** Starts mldd-cli and kills it after `delayMs`; whether it was still at work then. */
inline bool runCliKilledAfter(const QStringList& args, int delayMs) {
    QProcess process;
    process.start(QStringLiteral(MLDD_CLI), args);
    if (!process.waitForStarted())
        return false;
    QThread::msleep(delayMs);
    const bool running = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished();
    return running;
}

} // namespace mldd::test
