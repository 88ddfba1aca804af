#include "CliRun.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <cstdio>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace mldd::bench {

// The peak is GNU time's, whose own small process is the one that forks: a
// child forked from a big benchmark would count the benchmark's memory as its own.
ProcessRun runToEnd(const QString& program, const QStringList& args) {
    const QString peakFile = QDir::temp().filePath(QStringLiteral("mldd-bench-peak.txt"));
    std::vector<QByteArray> bytes{
        "/usr/bin/time", "-f", "%M", "-o", QFile::encodeName(peakFile), QFile::encodeName(program)};
    for (const QString& arg : args)
        bytes.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& arg : bytes)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ProcessRun run;
    waitpid(child, &run.status, 0);
    run.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    QFile peak(peakFile);
    if (peak.open(QIODevice::ReadOnly))
        run.peakKb = peak.readAll().trimmed().split('\n').last().toLong();
    return run;
}

} // namespace mldd::bench
