#pragma once

#include <QString>

namespace mldd::service {

/** Program and decode-file versions: whole numbers separated by dots ("4.18", "3"). */
namespace VersionNumber {

bool isValid(const QString& text);

/** Negative, zero or positive as `a` is older than, equal to or newer than `b`; "4.2" < "4.18". */
int compare(const QString& a, const QString& b);

} // namespace VersionNumber
} // namespace mldd::service
