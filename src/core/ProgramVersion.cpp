#include "ProgramVersion.h"

#include <cstdio>
#include <cstring>

namespace mldd {

const QString kProgramVersion = QStringLiteral(MLDD_VERSION);

bool printedVersion(int argc, char* argv[]) {
    if (argc != 2 || std::strcmp(argv[1], "--version") != 0)
        return false;
    const char* slash = std::strrchr(argv[0], '/');
    std::printf("%s %s\n", slash ? slash + 1 : argv[0], MLDD_VERSION);
    return true;
}

} // namespace mldd
