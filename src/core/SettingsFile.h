#pragma once

#include "ErrorLog.h"

#include <QStringList>

namespace mldd {

/**
 * Reads an optional settings file: its lines, or none when it is missing.
 * A file that exists but cannot be read gives none too, and one ERR.TXT line.
 */
QStringList readSettingsFile(const QString& path, const ErrorLog& log, const QString& location);

/** The first line of an optional one-line settings file, or `fallback` when there is none. */
QString readSettingsLine(const QString& path, const QString& fallback, const ErrorLog& log,
                         const QString& location);

/** Writes a settings file whole; a failure is logged and reported as false. */
bool writeSettingsFile(const QString& path, const QStringList& lines, const ErrorLog& log,
                       const QString& location);

} // namespace mldd
