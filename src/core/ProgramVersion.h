#pragma once

#include <QString>

namespace mldd {

/** The program's version: shown as "V 4.18" and sent to the maker's service. */
inline const QString kProgramVersion = QStringLiteral("4.18");

} // namespace mldd
