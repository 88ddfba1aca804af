#pragma once

#include <QString>

#include <optional>

namespace mldd {

/**
 * The name a page address gives its decode file: "://" becomes "))", ":" ";",
 * "/" ")", "." "-", "?" "!", cut before the first "=". An address of five
 * characters or less names no page.
 */
std::optional<QString> pageKeyOf(const QString& address);

} // namespace mldd
