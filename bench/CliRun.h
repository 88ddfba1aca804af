#pragma once

#include <QStringList>

namespace mldd::bench {

/** One run of a program to its end: wall time, peak resident memory, wait status. */
struct ProcessRun {
    double ms = 0;
    long peakKb = 0;
    int status = -1;
};

/** Runs `program` with `args` to its end, its output thrown away, as a seller's script would. */
ProcessRun runToEnd(const QString& program, const QStringList& args);

} // namespace mldd::bench
