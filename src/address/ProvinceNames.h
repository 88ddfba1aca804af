#pragma once

#include <QString>

namespace mldd {

/**
 * "Y" when `text` mentions any of the 34 province-level names anywhere, else
 * "N": whether a captured page holds an order address at all.
 */
QString ContainsProvinceName(const QString& text);

} // namespace mldd
