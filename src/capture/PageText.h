#pragma once

#include <QString>

namespace mldd {

/**
 * Makes a captured page text ready for the decode rules: every line end (LF,
 * CR or CR LF) becomes CR LF, and the record markers "{|D|}" and "{|B|}"
 * cannot be written by the page. Every road into a capture passes here.
 */
QString pageTextForRules(const QString& pageText);

} // namespace mldd
