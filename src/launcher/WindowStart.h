#pragma once

#include <QStringList>

namespace mldd {

/**
 * Starts the window program on its own: in a session of its own, with its
 * standard input, output and error on /dev/null, so that it keeps none of
 * the pipes of the browser that started mldd-do.
 */
bool startWindow(const QString& mldd, const QStringList& arguments);

} // namespace mldd
