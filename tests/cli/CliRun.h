#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace mldd::test {

/** What one run of mldd-cli gave. */
struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

inline CliRun runCli(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral(MLDD_CLI), args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace mldd::test
