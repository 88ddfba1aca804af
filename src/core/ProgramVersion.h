#pragma once

#include <QString>

namespace mldd {

/** The program's version, set once in the top CMakeLists: shown as "V 4.18" and sent to the maker's service. */
extern const QString kProgramVersion;

/**
 * Answers --version when it is the only argument: prints the program's name and
 * version and returns true, before any application object is made.
 */
bool printedVersion(int argc, char* argv[]);

} // namespace mldd
