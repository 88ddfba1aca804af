#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace mldd::cli {

/** The bytes of a file named on the command line, exactly as stored; none when unreadable. */
std::optional<QByteArray> readFileArgument(const QString& path, QString* message);

} // namespace mldd::cli
