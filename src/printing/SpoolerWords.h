#pragma once

#include "Spooler.h"

namespace mldd {

/**
 * The words the seller reads about a printer and its jobs, made from the
 * spooler's states and reasons.
 */
namespace SpoolerWords {

/** "Printer Status = Ready", or the status words each followed by two blanks. */
QString printerStatus(int printerState, const QStringList& reasons);

/** Whether the reasons hold one that stops printing: an error, offline, paused. */
bool hasFault(const QStringList& reasons);

/** One job's line: "任务:", its title and its words, ending with a line break. */
QString jobLine(const SpoolerJob& job);

/** Why an ended job did not print: "任务被取消", "打印机出错，任务被中止", … */
QString jobFailure(const SpoolerJob& job);

/** "No Print Jobs!" for an empty queue, else the lines of its jobs. */
QString jobText(const QList<SpoolerJob>& jobs);

} // namespace SpoolerWords
} // namespace mldd
