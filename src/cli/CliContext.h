#pragma once

#include "core/DataFolder.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace mldd::cli {

/** Exit statuses of mldd-cli. */
enum Exit { Success = 0, Failed = 1, Usage = 2 };

/** What every command of mldd-cli is given. */
struct CliContext {
    /** The data folder: --data DIR, else the one beside the program. */
    DataFolder dataFolder;
    /** The order store: --database ADDRESS, else the data folder's choice. */
    QString database;
};

/** Writes UTF-8 text to standard output or standard error, as given. */
void writeOut(const QString& text);
void writeError(const QString& text);

/** Writes `message` and a newline to standard error and returns `status`. */
int fail(int status, const QString& message);

/** Takes the value of `--name VALUE` out of `args`; none when the option is absent. */
std::optional<QString> takeOption(QStringList& args, const QString& name, bool* missingValue);

/** Takes the flag `--name` out of `args`. */
bool takeFlag(QStringList& args, const QString& name);

/** The order ids of an --ids value ("1,2,…"); none when one is no positive whole number. */
std::optional<QList<qint64>> parseIds(const QString& text);

/** Whether an argument asks for the usage: "--help" or "-h". */
bool isHelp(const QString& argument);

/**
 * One line of fields joined by tabs, each field's backslashes and control characters
 * written as escapes (\\, \t, \n, \r, \xHH), so that a record is always one line of
 * the same number of columns.
 */
QString tabbedLine(const QStringList& fields);

/** The lines of the program's usage that describe `command`, as its own usage. */
QString commandUsage(const QString& usage, const QString& command);

} // namespace mldd::cli
